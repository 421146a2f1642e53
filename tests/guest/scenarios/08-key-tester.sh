# The key tester: the keyboard over uhid plays the definitions its key table holds as the
# hardware does when a key is pressed; watch names each press and the key that defines it,
# with the reports byte for byte as sent. While watch runs, the keyboard's input event nodes
# give another reader nothing; once it ends, the next press reaches that reader again. Key 1
# is Ctrl+Alt+Del, which the guest's kernel takes for a reboot whenever it reaches the
# console's keyboard handler: the machine living on through watch is the hold's proof too.
# Then the window's "Test keys..." lists the same presses (results/window-tester.xwd).
start_keyboard kbd --presses "$WORK/kbd.presses"
press() { echo "$1" >"$WORK/kbd.presses"; }

step "save a chord, a Once click and a string with capitals"
expect 0 "$cli" set 1 Ctrl+Alt+Del
expect 0 "$cli" set 2 --once "Mouse Left Click"
expect 0 "$cli" set 3 --string "Hi There"
expect 0 "$cli" save
node=$(node_of kbd)
events=$(cd "/sys/class/hidraw/${node#/dev/}/device/input" && ls -d input*/event* | sed 's|.*/||') \
    || fail "the keyboard has no input event node: $(ls -R "/sys/class/hidraw/${node#/dev/}/device/input")"
readers=()
for event in $events; do
    cat "/dev/input/$event" >"$WORK/$event.read" &
    readers+=($!)
done

step "watch --json --count 3 while keys 1, 2 and 3 are pressed"
"$cli" watch --json --count 3 >"$WORK/watch.out" 2>"$WORK/watch.err" &
watcher=$!
deadline=$((SECONDS + 20))
until grep -q "press the keyboard's keys" "$WORK/watch.err"; do
    [ $SECONDS -lt $deadline ] || fail "watch did not start: $(cat "$WORK/watch.err")"
    sleep 0.2
done
cat "$WORK/watch.err"
for key in 1 2 3; do
    press "$key"
    sleep 0.5
done
status=0
timeout 20 tail --pid="$watcher" -f /dev/null || fail "watch did not end after 3 presses"
wait "$watcher" || status=$?
[ "$status" = 0 ] || fail "watch ended with $status: $(cat "$WORK/watch.out" "$WORK/watch.err")"
cat "$WORK/watch.out"
diff <(jq -c '{kind, arrived, key}' "$WORK/watch.out") - >"$WORK/diff" <<'JSON' \
    || fail "watch named other presses: $(cat "$WORK/diff")"
{"kind":"chord","arrived":"Ctrl|Alt|Del|,","key":1}
{"kind":"click","arrived":"Mouse Left   Click","key":2}
{"kind":"text","arrived":"Hi There","key":3}
JSON
sent() { awk '$2 == "input" { $1 = $2 = ""; print substr($0, 3) }' "$WORK/kbd.log"; }
diff <(jq -r '.reports[]' "$WORK/watch.out") <(sent) >"$WORK/diff" \
    || fail "watch shows other reports than the keyboard sent: $(cat "$WORK/diff")"
echo "$(sent | wc -l) reports sent, all in watch's presses"
for event in $events; do
    [ ! -s "$WORK/$event.read" ] || fail "/dev/input/$event gave a reader input while watch held it"
done

step "after watch, the next press reaches the reader of the event nodes"
press 3
deadline=$((SECONDS + 10))
until cat "$WORK"/event*.read | grep -q .; do
    [ $SECONDS -lt $deadline ] || fail "no reader of $events got the press after watch ended"
    sleep 0.2
done
kill "${readers[@]}"

step "the window's tester lists the same presses (screenshot window-tester.xwd)"
export QT_QPA_PLATFORM=xcb
Xvfb -displayfd 3 -screen 0 1024x768x24 -fbdir "$WORK" 3>display 2>xvfb.err &
for _ in $(seq 100); do [ -s display ] && break; sleep 0.1; done
export DISPLAY=":$(cat display)"
"$VARNOK_BUILD/varnok" >window.out 2>&1 &
window=""
for _ in $(seq 600); do
    window=$(xdotool search --name "^Varnok Keyboard" 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "the window did not show: $(cat window.out)"
sleep 2
xdotool mousemove --window "$window" 3 3 click 3
sleep 0.5
xdotool key Down Down Return
tester=""
for _ in $(seq 100); do
    tester=$(xdotool search --name '^Test keys$' 2>/dev/null | head -1) && [ -n "$tester" ] && break
    sleep 0.1
done
[ -n "$tester" ] || fail "Test keys... opened no tester: $(cat window.out)"
sleep 1
for key in 1 2 3; do
    press "$key"
    sleep 0.5
done
sleep 1
cp "$WORK/Xvfb_screen0" "$VARNOK_RESULTS/window-tester.xwd"
xdotool windowfocus --sync "$tester" key Escape
sleep 0.5
if xdotool search --name '^Test keys$' >/dev/null 2>&1; then fail "the tester did not close"; fi
