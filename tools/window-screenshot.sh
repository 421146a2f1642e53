#!/usr/bin/env bash
# The main window's screenshot for software centres and the homepage: the real window, six keys
# set up on the simulated keyboard, on a virtual X display, saved as a PNG.
#   window-screenshot.sh VARNOK VARNOK_CLI WINDOW_SHOT OUTPUT.png
# VARNOK and VARNOK_CLI are the built programs, WINDOW_SHOT the build's varnok_window_shot.
# The user's own settings and keys are not touched: the run has a home of its own.
set -euo pipefail
varnok=$1 cli=$2 shot=$3 output=$4
work=$(mktemp -d)
xvfb="" window_pid=""
cleanup() {
    [ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "window-screenshot: $*" >&2; exit 1; }

export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work
export LANG=C.UTF-8 LC_ALL=C.UTF-8
keys=(--virtual-keyboard "$work/keys.txt")
set_key() { "$cli" "${keys[@]}" set "$@" >"$work/cli.log" 2>&1 || fail "$(cat "$work/cli.log")"; }
set_key 1 Ctrl+C
set_key 2 Ctrl+V
set_key 3 Ctrl+Shift+T
set_key 4 --once "Mouse Double Click"
set_key 5 --once "Close Window"
set_key 6 --string "Hello, World"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "the virtual display did not start"
export DISPLAY=":$(cat "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

"$varnok" "${keys[@]}" >"$work/varnok.log" 2>&1 &
window_pid=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name "Varnok Keyboard" 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    kill -0 "$window_pid" 2>/dev/null || fail "varnok ended: $(cat "$work/varnok.log")"
    sleep 0.1
done
[ -n "$window" ] || fail "the window did not show"
sleep 1  # painted
size=$("$shot" "$window" "$output")
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$size" = "${WIDTH}x${HEIGHT}" ] || fail "the picture is $size, the window ${WIDTH}x${HEIGHT}"
echo "$output: $size"
