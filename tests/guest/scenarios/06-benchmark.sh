# Six strings saved through the kernel: the device-side time of the save against the pauses
# the keyboard needs, beside the same save on the simulated keyboard in this machine.
start_keyboard kbd
for key in 1 2 3 4 5 6; do
    expect 0 "$cli" set "$key" --string "Key $key Types AB"
    expect 0 simulated sim set "$key" --string "Key $key Types AB"
done
started=$(date +%s.%N)
expect 0 "$cli" save
finished=$(date +%s.%N)
expect 0 simulated sim save
same_records kbd sim.txt
pauses=$(pacing kbd | awk '$2 == "next"' | wc -l)
reports=$(sets kbd | wc -l)
# The device's clock (seconds) and the simulated keyboard's trace (milliseconds).
device=$(awk '$2 == "set" { if (!first) first = $1; last = $1 } END { printf "%.0f", (last - first) * 1000 }' kbd.log)
simulated=$(awk '$2 == "set" { if (first == "") first = $1; last = $1 } END { printf "%.0f", last - first }' sim.trace)
whole=$(awk -v a="$started" -v b="$finished" 'BEGIN { printf "%.0f", (b - a) * 1000 }')
{
    echo "benchmark: six-string save, $reports reports, $pauses pauses of 200 ms needed = $((pauses * 200)) ms"
    echo "benchmark: first to last report on the uhid keyboard's clock: $device ms (varnok-cli start to end: $whole ms)"
    echo "benchmark: first to last report on the simulated keyboard: $simulated ms"
} | tee "$VARNOK_RESULTS/benchmark"
[ "$device" -ge $((pauses * 200)) ] || fail "the save took less than its pauses"
check_pacing kbd
