#!/usr/bin/env bash
# Start-up of a Windows program under Wine: starts PROGRAM.exe [ARGS...], returns as soon as
# its window "Varnok Keyboard ..." is on the X display, and ends it. Timed as a whole process,
# it measures the time from start to the window on screen. Needs DISPLAY and WINEPREFIX.
set -euo pipefail
wine "$@" >/dev/null 2>&1 &
program=$!
until xdotool search --onlyvisible --name "Varnok Keyboard" >/dev/null 2>&1; do sleep 0.02; done
kill "$program"
wait "$program" 2>/dev/null || true
# The next run must not find this window: wait until Wine has taken it off the display.
while xdotool search --onlyvisible --name "Varnok Keyboard" >/dev/null 2>&1; do sleep 0.02; done
