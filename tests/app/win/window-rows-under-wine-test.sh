#!/usr/bin/env bash
# varnok.exe under Wine on a virtual X display, its files in a folder named in Chinese: a right
# click empties the row clicked, not the row edited last; Save writes the simulated keyboard's
# table, msmap.dat and the trace there; the context menu's read-back fills the rows with what
# the keyboard holds; its export and import of a profile round-trip the keys.
# Usage: window-rows-under-wine-test.sh VARNOK_EXE (WINEPREFIX set by the caller).
set -euo pipefail
work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/wine-window.sh"
trap wine_window_cleanup EXIT
start_display

folder="$work/用户/键盘"
mkdir -p "$folder"
setting keynum 5
start_window "$1" --virtual-keyboard "$(winpath "$folder/keys.txt")" \
    --map "$(winpath "$folder/msmap.dat")" --hid-trace "$(winpath "$folder/trace.log")"

# Row 1 takes Ctrl+C, row 2 Ctrl+V; a right click into row 1's box empties row 1 alone.
click 141 60
chord ctrl c
click 141 84
chord ctrl v
right_click 141 60
click 133 294         # Save
close_message 'Information!'
expected_table='00 00 FF
01 00 FF
02 08 01 01 00 19 00 00 00 00 FF
03 00 FF
04 00 FF
05 00 FF
06 00 FF'
[ "$(grep -v '^#' "$folder/keys.txt")" = "$expected_table" ] \
    || fail "key table: $(cat "$folder/keys.txt")"
# msmap.dat: row 2's record alone, "key2", "Ctrl|V|,", the report 01 01 00 19.
{ printf '\0\0key2'; head -c 27 /dev/zero; printf 'Ctrl|V|,'; head -c 18 /dev/zero
  printf '\1\1\0\31'; head -c 22 /dev/zero; } >"$work/expected.dat"
cmp -s "$work/expected.dat" "$folder/msmap.dat" \
    || fail "msmap.dat: $(od -An -tx1 "$folder/msmap.dat" | tr -s ' \n' ' ')"
grep -q ' set 06 02 08 01 01 00 19 00$' "$folder/trace.log" \
    || fail "trace: $(cat "$folder/trace.log")"

# Clear empties the rows (the keyboard keeps its table); Ctrl+Z, with the focus where Clear
# left it, gives msmap.dat back byte for byte, and Ctrl+Y clears again. "Read keys from
# keyboard", the first entry of the background's context menu, brings row 2 back from the
# keyboard, and a Save stores what the rows then show.
cp "$folder/msmap.dat" "$work/before-clear.dat"
click 45 294          # Clear
for _ in $(seq 100); do [ -s "$folder/msmap.dat" ] || break; sleep 0.1; done
[ -s "$folder/msmap.dat" ] && fail "Clear left msmap.dat as it was"
xdotool key ctrl+z; sleep 0.5
cmp -s "$work/before-clear.dat" "$folder/msmap.dat" || fail "Ctrl+Z did not undo Clear"
xdotool key ctrl+y; sleep 0.5
[ -s "$folder/msmap.dat" ] && fail "Ctrl+Y did not clear again"
right_click 250 100
xdotool key Down Return
close_message 'Information!'   # "Get Key Successful!"
click 133 294         # Save
close_message 'Information!'
[ "$(grep -v '^#' "$folder/keys.txt")" = "$expected_table" ] \
    || fail "key table after the read-back: $(cat "$folder/keys.txt")"
record=$(od -An -tx1 -v "$folder/msmap.dat" | tr -d ' \n')
[ "${#record}" = 170 ] && [ "${record:0:12}" = 00006b657932 ] && [ "${record:118:8}" = 01010019 ] \
    || fail "msmap.dat after the read-back: $record"
[ "$(head -c 59 "$folder/msmap.dat" | tail -c 26 | tr -d '\0')" = 'Ctrl|V|,' ] \
    || fail "row 2 after the read-back: $(head -c 59 "$folder/msmap.dat" | tail -c 26)"

# "Export keys to file..." writes what the rows show through the Save dialog, ".json" added to
# the name typed; after Clear, "Import keys from file..." brings the rows back through the Open
# dialog, and a Save puts the same table into the keyboard. (The profile's folder is named in
# ASCII: xdotool cannot type Chinese into Wine's dialogs reliably.)
right_click 250 100
xdotool key Down Down Down Down Down Return   # past Test keys, Undo and Redo
answer_file_dialog 'Export keys to file' "$(winpath "$work/profile")"
close_message 'Information!'   # "Keys exported to file!"
grep -q '"text": "Ctrl|V|,"' "$work/profile.json" || fail "profile: $(cat "$work/profile.json")"
click 45 294          # Clear
click 133 294         # Save: the keyboard holds nothing
close_message 'Information!'
grep -q '^02 00 FF$' "$folder/keys.txt" || fail "Clear and Save left: $(cat "$folder/keys.txt")"
right_click 250 100
xdotool key Down Down Down Down Down Down Return
answer_file_dialog 'Import keys from file' "$(winpath "$work/profile.json")"
close_message 'Information!'   # "Keys imported from file!"
click 133 294         # Save
close_message 'Information!'
[ "$(grep -v '^#' "$folder/keys.txt")" = "$expected_table" ] \
    || fail "key table after the import: $(cat "$folder/keys.txt")"

exit_window
echo "passed"
