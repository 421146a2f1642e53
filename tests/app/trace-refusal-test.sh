#!/usr/bin/env bash
# --hid-trace refuses every path that is not a regular file or terminal of its own, and --map
# refuses the key table: exit status 2, a message, nothing touched, and no wait for a pipe's
# reader.
#   trace-refusal-test.sh VARNOK
set -u
varnok=$(realpath "$1")
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
printf '01 00 FF\n' >keys.txt
printf 'named map' >m.dat
mkdir -p data/brelmoth/varnok
printf 'map' >data/brelmoth/varnok/msmap.dat
mkfifo fifo
export XDG_DATA_HOME=$folder/data

snapshot() { ls -lR --time-style=+ . && cat keys.txt m.dat data/brelmoth/varnok/msmap.dat; }
failures=0
refuse() {  # PATTERN ARGUMENT...
    local pattern=$1 before output status
    shift
    before=$(snapshot)
    output=$(QT_QPA_PLATFORM=offscreen timeout 10 "$varnok" "$@" 2>&1)
    status=$?
    if [ "$status" -eq 124 ]; then
        echo "FAILED, hung: $*"
    elif [ "$status" -ne 2 ] || ! grep -qF -- "$pattern" <<<"$output"; then
        echo "FAILED: $* -> status $status: $output"
    elif [ "$(snapshot)" != "$before" ]; then
        echo "FAILED, files changed: $*"
    else
        echo "ok: $* -> $output"
        return
    fi
    failures=$((failures + 1))
}

refuse "is the simulated keyboard's key table" --virtual-keyboard keys.txt --hid-trace keys.txt
refuse "keeps the keys' texts in" --hid-trace data/brelmoth/varnok/msmap.dat
refuse "keeps the keys' texts in" --map m.dat --hid-trace ./m.dat
refuse "keeps the keys' texts in" --map new.dat --hid-trace new.dat
refuse "is the simulated keyboard's key table; the key map needs a file of its own" --virtual-keyboard keys.txt --map ./keys.txt
refuse "neither a regular file nor a terminal" --hid-trace fifo
refuse "neither a regular file nor a terminal" --hid-trace .
refuse "neither a regular file nor a terminal" --hid-trace /dev/null
[ "$failures" -eq 0 ]
