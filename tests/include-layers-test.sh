#!/usr/bin/env bash
# The layers of src/ depend one way: store < device < keys < flows < ui < app. Every quoted
# #include of a file under src/ is checked against that order, and the includes between
# files (a header and its .cpp taken as one) must hold no loop. Prints each include that
# climbs, and the files of a loop; exits 1 on either.
set -euo pipefail
src="${1:?usage: include-layers-test.sh SRC_DIR}"
cd "$src"

rank() {
    case "${1%%/*}" in
        store) echo 0 ;; device) echo 1 ;; keys) echo 2 ;; flows) echo 3 ;; ui) echo 4 ;;
        app) echo 5 ;; *) echo -1 ;;
    esac
}

failed=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
while IFS= read -r file; do
    from_rank=$(rank "$file")
    if [ "$from_rank" -lt 0 ]; then
        echo "$file: in no layer"
        failed=1
        continue
    fi
    while IFS= read -r included; do
        # Only the project's own files; the generated version header belongs to app/.
        [ -e "$included" ] || [ -e "$included.in" ] || continue
        to_rank=$(rank "$included")
        if [ "$to_rank" -gt "$from_rank" ]; then
            echo "$file includes $included: a lower layer includes a higher one"
            failed=1
        fi
        from_unit="${file%.*}"
        to_unit="${included%.*}"
        [ "$from_unit" = "$to_unit" ] || echo "$from_unit $to_unit" >>"$edges"
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' -o -name '*.h.in' | sed 's|^\./||' | sort)

# tsort names the files of each loop it finds on standard error.
if ! tsort "$edges" >/dev/null 2>"$edges.loops"; then
    echo "includes that go round in a loop:"
    grep -v "input contains a loop" "$edges.loops" | sed 's/^tsort: /  /'
    failed=1
fi
rm -f "$edges.loops"

count=$(wc -l <"$edges")
if [ "$failed" -eq 0 ]; then
    echo "$count includes between files: none climbs a layer, none in a loop"
fi
exit "$failed"
