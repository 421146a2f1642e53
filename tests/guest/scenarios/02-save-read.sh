# A chord, a Once mouse click and a string with capitals, saved with --verify and read back:
# the keyboard over uhid receives and holds exactly what the simulated keyboard does for the
# same commands, and the reports are paced on the device's clock.
start_keyboard kbd
both() {
    expect 0 "$cli" "$@"
    expect 0 simulated sim "$@"
}
step "set and save --verify, on the keyboard over uhid and on the simulated keyboard"
both set 1 Ctrl+Alt+F4
both set 2 --once "Mouse Double Click"
both set 3 --string "Hello World AB"
expect 0 "$cli" save --verify
cat err
expect 0 simulated sim save --verify
same_records kbd sim.txt
records kbd.txt
trace() { awk '$2 == "set" || $2 == "get" { print $2, $3, $4, $5, $6, $7, $8, $9, $10 }' "$@"; }
diff <(trace kbd.log) <(trace sim.trace) >diff \
    || fail "the device saw other reports than the simulated keyboard: $(cat diff)"
echo "$(sets kbd | wc -l) set and $(trace kbd.log | grep -c '^get') get requests, as on the simulated keyboard"

step "read shows what the simulated keyboard shows"
expect 0 "$cli" read
cp out read-uhid
expect 0 simulated sim read
diff read-uhid out >diff || fail "read differs: $(cat diff)"
cat read-uhid

step "pacing on the device's clock"
pacing kbd | awk '{ n[$2]++; if (!($2 in lo) || $1 < lo[$2]) lo[$2] = $1; if ($1 > hi[$2]) hi[$2] = $1 }
    END { for (k in n) printf "%s of a record: %d gaps, %.1f to %.1f ms\n", k, n[k], lo[k], hi[k] }'
check_pacing kbd
