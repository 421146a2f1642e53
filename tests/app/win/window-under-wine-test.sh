#!/usr/bin/env bash
# varnok.exe end to end under Wine on a virtual X display: row 1 takes Ctrl+C from real key
# presses, String row 2 takes typed text but no character the keyboard cannot type, Save
# writes the simulated keyboard's table and msmap.dat, and the settings land in the registry.
# Usage: window-under-wine-test.sh VARNOK_EXE (WINEPREFIX set by the caller).
set -euo pipefail
exe=$1
work=$(mktemp -d)
# A program name of the test's own: its settings key is the test's, not the user's.
program=varnok-window-test
cp "$exe" "$work/$program.exe"
display_file="$work/display"
xvfb=""
varnok=""
cleanup() {
    [ -n "$varnok" ] && kill "$varnok" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wine reg delete "HKCU\\Software\\brelmoth\\$program" /f >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$display_file")"

winpath() { echo "Z:${1//\//\\}"; }
# Two rows, the second a String row.
settings_key="HKCU\\Software\\brelmoth\\$program\\Settings"
wine reg add "$settings_key" /v keynum /t REG_DWORD /d 1 /f >/dev/null 2>&1
wine reg add "$settings_key" /v KeyFun2Sel /t REG_DWORD /d 2 /f >/dev/null 2>&1
wine "$work/$program.exe" --virtual-keyboard "$(winpath "$work/keys.txt")" \
    --map "$(winpath "$work/msmap.dat")" >"$work/out.log" 2>&1 &
varnok=$!
window=""
for _ in $(seq 300); do
    window=$(xdotool search --name "Varnok Keyboard" 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "the window did not show"
sleep 2

# Dialog units to the window's pixels: the window is 263 by 310 units.
eval "$(xdotool getwindowgeometry --shell "$window")"
click() {  # X Y in dialog units
    xdotool mousemove --window "$window" $(($1 * WIDTH / 263)) $(($2 * HEIGHT / 310)) click 1
    sleep 0.5
}
click 141 60          # into row 1's value box
xdotool keydown ctrl; sleep 0.2; xdotool key c; sleep 0.2; xdotool keyup ctrl; sleep 0.5
click 141 84          # into row 2's value box
xdotool type --delay 100 'Hi, Wx'; sleep 0.3
xdotool key BackSpace; sleep 0.3
xdotool type --delay 100 '中!'; sleep 0.5
click 133 294         # Save
for _ in $(seq 100); do grep -q '^02 ' "$work/keys.txt" 2>/dev/null && break; sleep 0.1; done
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
cmp -s "$work/expected.dat" "$work/msmap.dat" \
    || fail "msmap.dat: $(od -An -tx1 "$work/msmap.dat" | tr -s ' \n' ' ')"

settings=$(wine reg query "HKCU\\Software\\brelmoth\\$program\\Settings" 2>/dev/null | tr -d '\r')
grep -q 'keyLan *REG_DWORD *0x0' <<<"$settings" || fail "settings: $settings"
grep -q 'keynum *REG_DWORD *0x1' <<<"$settings" || fail "settings: $settings"

xdotool key Return; sleep 0.5   # the success message's OK
click 222 294                   # Exit
for _ in $(seq 100); do kill -0 "$varnok" 2>/dev/null || break; sleep 0.1; done
kill -0 "$varnok" 2>/dev/null && fail "Exit did not end the program"
varnok=""
echo "passed"
