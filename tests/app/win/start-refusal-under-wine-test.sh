#!/usr/bin/env bash
# varnok.exe under Wine on a virtual X display: a start it must refuse (--map in a folder that
# does not exist) is said in a message box, which a user who started it from the Start menu
# sees, as well as on standard error; once the box is closed the program ends with status 2.
# Usage: start-refusal-under-wine-test.sh VARNOK_EXE (WINEPREFIX set by the caller).
set -euo pipefail
work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/wine-window.sh"
trap wine_window_cleanup EXIT
start_display

cp "$1" "$work/$program.exe"
wine "$work/$program.exe" --map "$(winpath "$work/gone/msmap.dat")" >"$work/out.log" 2>&1 &
varnok=$!
close_message 'Information!'
status=0
wait "$varnok" || status=$?
varnok=""
[ "$status" -eq 2 ] || fail "exit status $status, expected 2"
grep -q "msmap.dat: the key map cannot be written there: .*: the folder does not exist" \
    "$work/out.log" || fail "standard error: $(cat "$work/out.log")"
[ ! -e "$work/gone" ] || fail "the missing folder was made"
echo "refused in a message box, status 2"
