#!/usr/bin/env bash
# What a screen reader (Orca) finds in the window through AT-SPI, in English and in Chinese:
# each list is named by what it chooses, a row's box by its key and what it holds (or that it
# records, after Enter on it), a row's function list holds no text field, and the status line
# is a status bar.
#   accessible-names-test.sh VARNOK
# Runs in a session bus of its own, on a virtual X display, with a home of its own.
set -euo pipefail
varnok=$1
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${VARNOK_IN_SESSION:-}" ]; then
    exec env VARNOK_IN_SESSION=1 dbus-run-session -- bash "$0" "$@"
fi
work=$(mktemp -d)
xvfb="" window_pid=""
cleanup() {
    [ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "accessible-names-test: $*" >&2; exit 1; }

export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work
export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "the virtual display did not start"
export DISPLAY=":$(cat "$work/display")"

# language flag, then the lists' names in the tree's order, with every row shown; then,
# optionally, the list to press Enter on first.
check() {
    local language=$1 expected=$2 pressed=${3:-} actual
    mkdir -p "$work/config/brelmoth"
    printf '[Settings]\nkeyLan=%s\nkeynum=5\n' "$language" >"$work/config/brelmoth/varnok.conf"
    "$varnok" --virtual-keyboard "$work/keys.txt" >"$work/varnok.log" 2>&1 &
    window_pid=$!
    actual=$(/usr/bin/python3 "$here/accessible-names.py" varnok $pressed) \
        || fail "$actual $(cat "$work/varnok.log")"
    kill "$window_pid"
    wait "$window_pid" 2>/dev/null || true
    window_pid=""
    if [ "$actual" != "$expected" ]; then
        diff <(echo "$expected") <(echo "$actual") >&2 || true
        fail "the lists' names differ (language $language)"
    fi
}

# The lists' names; the first row's box is named by $6 instead when given.
lists() {
    local language=$1 keys=$2 layout=$3 function=$4 row box
    printf 'combo box\t%s\tlist\n' "$language" "$keys"
    for row in 1 2 3 4 5 6; do
        box=${5/N/$row}
        [ "$row" = 1 ] && box=${6:-$box}
        printf 'combo box\t%s\ttext field\n' "$box"
        printf 'combo box\t%s\tlist\n' "${function/N/$row}"
    done
    printf 'combo box\t%s\tlist\n' "$layout"
    printf 'status bar\tsays something\n'
}
check 0 "$(lists Language "Keys shown" "Keyboard layout" "Function of key N" "Key N, empty")"
check 1 "$(lists 语言 显示按键数 键盘布局 "按键 N 的功能" "按键 N，空")"
# The third list is row 1's box.
check 0 "$(lists Language "Keys shown" "Keyboard layout" "Function of key N" "Key N, empty" \
    "Key 1, recording: press the keys")" 2
check 1 "$(lists 语言 显示按键数 键盘布局 "按键 N 的功能" "按键 N，空" "按键 1，录制中：请按下按键")" 2
echo "accessible-names-test: the lists and the status line are named in English and in Chinese," \
    "and a row's box says that it records"
