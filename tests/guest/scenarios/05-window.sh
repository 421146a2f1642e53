# The Qt window on a virtual display inside the machine, driven with xdotool: it starts
# before the keyboard is there, its status line follows the keyboard coming and going (the
# screenshots show it), it finds the keyboard at Save, reads the keys back through its context
# menu, and stays alive through a keyboard that never answers.
export QT_QPA_PLATFORM=xcb
Xvfb -displayfd 3 -screen 0 1024x768x24 -fbdir "$WORK" 3>display 2>xvfb.err &
for _ in $(seq 100); do [ -s display ] && break; sleep 0.1; done
export DISPLAY=":$(cat display)"
shot() { cp "$WORK/Xvfb_screen0" "$VARNOK_RESULTS/window-$1.xwd"; }

"$VARNOK_BUILD/varnok" --hid-trace window.trace >window.out 2>&1 &
varnok=$!
window=""
for _ in $(seq 600); do
    window=$(xdotool search --name "^Varnok Keyboard" 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "the window did not show: $(cat window.out)"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
point() { echo $(($1 * WIDTH / 263)) $(($2 * HEIGHT / 348)); }
click() {  # X Y in dialog units, then the button (1 left, 3 right)
    xdotool mousemove --window "$window" $(point "$1" "$2") click "${3:-1}"
    sleep 0.5
}
# message TIMEOUT: waits for the window's message box, shows and closes it.
message() {
    local box=""
    for _ in $(seq $(($1 * 10))); do
        box=$(xdotool search --name '^Information!$' 2>/dev/null | head -1) && [ -n "$box" ] && break
        sleep 0.1
    done
    [ -n "$box" ] || fail "no message box within $1 s"
    shot "$2"
    xdotool windowfocus --sync "$box" key Return
    sleep 0.5
}
alive() { kill -0 "$varnok" 2>/dev/null || fail "the window ended: $(cat window.out)"; }

step "Ctrl+C into row 1, before any keyboard is there"
click 141 60
xdotool keydown ctrl; sleep 0.2; xdotool key c; sleep 0.2; xdotool keyup ctrl; sleep 0.5
shot status-none
step "the keyboard comes after the window started; Save finds it"
start_keyboard kbd
sleep 3
shot status-connected
click 133 294
message 60 saved
records kbd.txt | grep -qx '01 08 01 01 00 06 00 00 00 00 FF' || fail "key 1 did not arrive: $(records kbd.txt)"

step "read back through the context menu: a key set elsewhere (key 2 Alt+F4) comes into the window"
stop_keyboard kbd
printf '01 08 01 01 00 06 00 00 00 00 FF\n02 08 01 04 00 3D 00 00 00 00 FF\n' >kbd.txt
start_keyboard kbd
click 250 215 3
xdotool key Down Return
message 60 read
step "and Save writes it back"
click 133 294
message 60 saved-again
records kbd.txt | grep -qx '02 08 01 04 00 3D 00 00 00 00 FF' || fail "key 2 was not read back and saved: $(records kbd.txt)"
sets kbd | tail -1 | grep -q '^06 AA FF' || fail "the save did not end: $(sets kbd | tail -3)"
stop_keyboard kbd
sleep 3
shot status-gone

step "a keyboard that never answers: the window says so and stays alive"
start_keyboard mute --silent-at 1
started=$(date +%s)
click 133 294
message 60 unanswered
echo "the message came after $(($(date +%s) - started)) s"
alive
grep 'failed' window.trace || fail "the trace shows no failed report"
step "the next Save succeeds"
click 133 294
message 60 saved-after
records mute.txt | grep -qx '01 08 01 01 00 06 00 00 00 00 FF' || fail "key 1 did not arrive: $(records mute.txt)"
alive
click 222 294
for _ in $(seq 50); do kill -0 "$varnok" 2>/dev/null || break; sleep 0.1; done
kill -0 "$varnok" 2>/dev/null && fail "Exit did not end the window"
true
