#!/usr/bin/env bash
# varnok.exe end to end under Wine on a virtual X display: row 1 takes Ctrl+C from real key
# presses, String row 2 takes typed text but no character the keyboard cannot type, Save
# writes the simulated keyboard's table and msmap.dat (in %APPDATA%, a folder named in Chinese),
# and the settings land in the registry; Tab, Enter and Escape work the window, Escape in an
# open list closes the list alone, and a key typed there types nothing.
# Usage: window-under-wine-test.sh VARNOK_EXE (WINEPREFIX set by the caller).
set -euo pipefail
work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/wine-window.sh"
trap wine_window_cleanup EXIT
start_display

# Two rows, the second a String row.
setting keynum 1
setting KeyFun2Sel 2
mkdir -p "$work/用户数据"
appdata=$(winpath "$work/用户数据")
start_window "$1" --virtual-keyboard "$(winpath "$work/keys.txt")"

click 141 60          # into row 1's value box
chord ctrl c
click 141 84          # into row 2's value box
xdotool type --delay 100 'Hi, Wx'; sleep 0.3
xdotool key BackSpace; sleep 0.3
xdotool type --delay 100 '中!'; sleep 0.5
click 133 294         # Save
close_message 'Information!'
grep -qx '01 08 01 01 00 06 00 00 00 00 FF' "$work/keys.txt" \
    || fail "key table: $(cat "$work/keys.txt" 2>/dev/null)"
grep -qx '02 0C 08 AB 0B 00 0C 00 36 00 2C AB 1A AB 1E FF' "$work/keys.txt" \
    || fail "key table: $(cat "$work/keys.txt" 2>/dev/null)"

# msmap.dat: two 85-byte records, "key1", "Ctrl|C|,", the report 01 01 00 06, and "key2",
# "Hi, W!", its payload.
{ printf '\0\0key1'; head -c 27 /dev/zero; printf 'Ctrl|C|,'; head -c 18 /dev/zero
  printf '\1\1\0\6'; head -c 22 /dev/zero
  printf '\0\0key2'; head -c 27 /dev/zero; printf 'Hi, W!'; head -c 20 /dev/zero
  printf '\253\13\0\14\0\66\0\54\253\32\253\36'; head -c 14 /dev/zero; } >"$work/expected.dat"
map="$work/用户数据/brelmoth/$program/msmap.dat"
cmp -s "$work/expected.dat" "$map" || fail "msmap.dat: $(od -An -tx1 "$map" | tr -s ' \n' ' ')"

settings=$(wine reg query "$settings_key" 2>/dev/null | tr -d '\r')
grep -q 'keyLan *REG_DWORD *0x0' <<<"$settings" || fail "settings: $settings"
grep -q 'keynum *REG_DWORD *0x1' <<<"$settings" || fail "settings: $settings"

# From the keyboard: a second click into row 1 cancels the recording the first began, so row 1
# keeps its chord and Tab leaves it, past its function list, for row 2, which takes the Z
# typed there; Enter on the focused Save button saves nothing; Escape ends the program.
click 141 60
click 141 60
xdotool key Tab Tab; sleep 0.3
xdotool type --delay 100 'Z'; sleep 0.3
click 133 294         # Save
close_message 'Information!'
grep -qx '01 08 01 01 00 06 00 00 00 00 FF' "$work/keys.txt" || fail "row 1 changed"
grep -q '^02 0C 08 AB 0B 00 0C 00 36 00 2C AB 1A AB 1E FF$' "$work/keys.txt" \
    && fail "Tab did not move to row 2: $(cat "$work/keys.txt")"
# In an open list only the keys that close it or move in it are the list's: an X typed into
# row 1's open list goes where it goes with the list closed: a box that does not record takes
# no typing, so the row stays empty.
right_click 141 60    # empties row 1
click 183 60          # opens row 1's list
xdotool key x; sleep 0.3
xdotool key Escape; sleep 0.5
click 133 294         # Save
close_message 'Information!'
grep -qx '01 00 FF' "$work/keys.txt" || fail "X in the open list: $(cat "$work/keys.txt")"
cp "$work/keys.txt" "$work/saved.txt"
xdotool key Return; sleep 1
xdotool search --name '^Information!$' >/dev/null 2>&1 && fail "Enter saved"
# Escape in an open list closes the list, as in any dialog; the program goes on.
click 40 127          # opens the Keys shown list
xdotool key Escape; sleep 3   # the program takes about two seconds to end
kill -0 "$varnok" 2>/dev/null || fail "Escape in an open list ended the program"
xdotool key Escape
for _ in $(seq 100); do kill -0 "$varnok" 2>/dev/null || break; sleep 0.1; done
kill -0 "$varnok" 2>/dev/null && fail "Escape did not end the program"
varnok=""
cmp -s "$work/keys.txt" "$work/saved.txt" || fail "the keyboard was written after the Save"
echo "passed"
