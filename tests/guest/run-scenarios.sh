#!/usr/bin/env bash
# Runs inside the virtual machine, chrooted into the host's root: each scenario of
# tests/guest/scenarios/ in order (or the ones named), each in its own shell with a time limit
# and its own working folder; its output goes to RESULTS/NAME.log and a PASS or FAIL line with
# its time to RESULTS/summary. RESULTS/status says "finished" when all have run.
set -uo pipefail
export HOME=/tmp/home XDG_RUNTIME_DIR=/tmp/runtime LANG=C.UTF-8
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
scenarios=$VARNOK_ROOT/tests/guest/scenarios
: >"$VARNOK_RESULTS/summary"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for file in "$scenarios"/*.sh; do names+=("$(basename "$file" .sh)"); done
fi
for name in "${names[@]}"; do
    export WORK=/tmp/scenario/$name
    mkdir -p "$WORK"
    start=$(date +%s.%N)
    echo "guest: scenario $name"
    # timeout leads a process group of its own: whatever the scenario leaves running goes
    # with it.
    timeout --kill-after=5 600 bash -c \
        'source "$1/tests/guest/lib.sh" && source "$2"' _ "$VARNOK_ROOT" "$scenarios/$name.sh" \
        >"$VARNOK_RESULTS/$name.log" 2>&1 &
    group=$!
    if wait "$group"; then result=PASS; else result=FAIL; fi
    kill -TERM -- "-$group" 2>/dev/null && sleep 0.5
    kill -KILL -- "-$group" 2>/dev/null
    seconds=$(awk -v start="$start" -v end="$(date +%s.%N)" 'BEGIN { print end - start }')
    printf '%s %-24s %6.1fs\n' "$result" "$name" "$seconds" | tee -a "$VARNOK_RESULTS/summary"
done
echo finished >"$VARNOK_RESULTS/status"
