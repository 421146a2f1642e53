# Sourced by the window tests under Wine: a virtual X display, the program started under a test
# name of its own (so that its registry settings are the test's, not the user's), its window
# found by caption, and clicks at places given in the key window's dialog units.
# Needs: $work (a scratch folder the test removes), WINEPREFIX set by the caller.

program=varnok-window-test
# Wine takes the command line's bytes in the locale's character set: UTF-8, for the Chinese
# names of the tests.
export LC_ALL=C.UTF-8
settings_key="HKCU\\Software\\brelmoth\\$program\\Settings"
xvfb=""
varnok=""
window=""

wine_window_cleanup() {
    [ -n "$varnok" ] && kill "$varnok" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wine reg delete "HKCU\\Software\\brelmoth\\$program" /f >/dev/null 2>&1 || true
    rm -rf "$work"
}

fail() {
    echo "FAILED: $*"
    exit 1
}

# The Windows name of a Unix path under Wine's Z: drive.
winpath() { echo "Z:${1//\//\\}"; }

start_display() {
    local display_file="$work/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$display_file" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$display_file")"
}

setting() {  # NAME VALUE: a DWORD of the program's settings
    wine reg add "$settings_key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1
}

# start_window EXE [ARGUMENTS...]: runs EXE as the test's program and waits for its window.
# With appdata set (a Windows path), the program sees it as %APPDATA%.
appdata=""
start_window() {
    cp "$1" "$work/$program.exe"
    shift
    if [ -n "$appdata" ]; then
        wine cmd /c "set APPDATA=$appdata&& $(winpath "$work/$program.exe") $*" >"$work/out.log" 2>&1 &
    else
        wine "$work/$program.exe" "$@" >"$work/out.log" 2>&1 &
    fi
    varnok=$!
    window=""
    for _ in $(seq 300); do
        window=$(xdotool search --name "Varnok Keyboard" 2>/dev/null | head -1) && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || fail "the window did not show: $(cat "$work/out.log")"
    sleep 2
    eval "$(xdotool getwindowgeometry --shell "$window")"
}

# Dialog units to the window's pixels: the window is 263 by 348 units.
click() {  # X Y in dialog units
    xdotool mousemove --window "$window" $(($1 * WIDTH / 263)) $(($2 * HEIGHT / 348)) click 1
    sleep 0.5
}
right_click() {  # X Y in dialog units
    xdotool mousemove --window "$window" $(($1 * WIDTH / 263)) $(($2 * HEIGHT / 348)) click 3
    sleep 0.5
}
chord() {  # MODIFIER KEY: pressed one after the other, released in reverse
    xdotool keydown "$1"; sleep 0.2; xdotool key "$2"; sleep 0.2; xdotool keyup "$1"; sleep 0.5
}

# Waits for the message box a flow ends with (caption CAPTION, at most 30 s), closes it with
# its OK, and waits until it is gone: the window takes input again.
# wait_for_window CAPTION TENTHS: the window's id, once a window with that exact caption shows.
wait_for_window() {
    local found=""
    for _ in $(seq "$2"); do
        found=$(xdotool search --name "^$1\$" 2>/dev/null | head -1) && [ -n "$found" ] && break
        sleep 0.1
    done
    echo "$found"
}

close_message() {
    local box
    box=$(wait_for_window "$1" 300)
    [ -n "$box" ] || fail "no message \"$1\": $(cat "$work/out.log")"
    sleep 0.3
    xdotool key Return
    for _ in $(seq 100); do xdotool search --name "^$1\$" >/dev/null 2>&1 || return 0; sleep 0.1; done
    fail "the message \"$1\" did not close"
}

# Waits for the file dialog captioned TITLE, types FILE into its name field and confirms it.
answer_file_dialog() {  # TITLE FILE
    local dialog
    dialog=$(wait_for_window "$1" 100)
    [ -n "$dialog" ] || fail "no file dialog \"$1\": $(cat "$work/out.log")"
    sleep 1
    xdotool type --delay 20 "$2"
    xdotool key Return
    sleep 0.5
}

# Exit, and the program must end.
exit_window() {
    click 222 294
    for _ in $(seq 100); do kill -0 "$varnok" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$varnok" 2>/dev/null && fail "Exit did not end the program"
    varnok=""
}
