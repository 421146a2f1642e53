# The faults a real keyboard brings, through the kernel: an error reply, a keyboard pulled out
# mid-save and put back, a keyboard that never answers, a slow one. Varnok ends with a failure
# and a message, hangs nowhere, keeps msmap.dat whole, and the next save succeeds.
expect 0 "$cli" set 1 Ctrl+C
expect 0 simulated sim set 1 Ctrl+C
expect 0 simulated sim save
map=$XDG_DATA_HOME/brelmoth/varnok/msmap.dat
cp "$map" map-before

# A save of key 1 alone sends slot 0 (request 1), slot 1 (2 and 3), slot 2 (4), slot 3 (5)...
step "an error reply to the fourth record (slot 3, request 5)"
start_keyboard refusing --error-at 5
expect 1 "$cli" save
cat err
[ -s err ] || fail "the refused save said nothing"
[ "$(sets refusing | wc -l)" = 5 ] || fail "reports went on after the refused one: $(sets refusing)"
diff <(records refusing.txt) <(printf '00 00 FF\n01 08 01 01 00 06 00 00 00 00 FF\n02 00 FF\n') \
    || fail "the keyboard holds other records than the three before the refusal"
cmp -s map-before "$map" || fail "msmap.dat changed"
expect 0 "$cli" show
said 'Ctrl|C|,'
step "the next save succeeds"
expect 0 "$cli" save --verify
same_records refusing sim.txt
stop_keyboard refusing

step "the keyboard pulled out at request 3 of a save, put back 1.5 s later"
start_keyboard pulled --remove-at 3 --replug-after 1500
started=$(date +%s)
expect 1 "$cli" save
cat err
[ -s err ] || fail "the interrupted save said nothing"
[ $(($(date +%s) - started)) -lt 30 ] || fail "the interrupted save took $(($(date +%s) - started)) s"
cmp -s map-before "$map" || fail "msmap.dat changed"
node_of pulled >/dev/null
step "once it is back, the next save succeeds"
expect 0 "$cli" save --verify
same_records pulled sim.txt
stop_keyboard pulled

step "a keyboard that never answers request 2"
start_keyboard mute --silent-at 2
started=$(date +%s)
expect 1 "$cli" save
took=$(($(date +%s) - started))
cat err
echo "the unanswered save ended after ${took} s"
[ "$took" -lt 30 ] || fail "the unanswered save took $took s, beyond the kernel's timeout"
[ -s err ] || fail "the unanswered save said nothing"
cmp -s map-before "$map" || fail "msmap.dat changed"
step "the next save succeeds"
expect 0 "$cli" save --verify
same_records mute sim.txt
stop_keyboard mute

step "a slow keyboard (every answer 50 ms late) takes the save"
start_keyboard slow --reply-delay 50
expect 0 "$cli" save --verify
same_records slow sim.txt
check_pacing slow
