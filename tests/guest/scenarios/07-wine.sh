# Varnok on Windows under Wine in the machine, against the same keyboard over uhid: Wine's
# udev bus hands the hidraw node to SetupAPI and hid.dll, varnok-cli.exe finds the keyboard
# there, saves with --verify and reads back, and the keyboard receives and holds exactly what
# the simulated keyboard does for the same commands on Linux; watch refuses to test the keys,
# with the reason.
exe=$VARNOK_WINDOWS_BUILD/varnok-cli.exe
[ -f "$VARNOK_WINE_PREFIX/system.reg" ] || fail "no Wine prefix at $VARNOK_WINE_PREFIX"
# A program started straight from the 9p share crashes at start under Wine; from tmpfs it runs.
mkdir -p /tmp/wine
cp "$exe" /tmp/wine/varnok-cli.exe
export WINEPREFIX=/tmp/wine/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
# The prefix's registry is written, so it is copied; its 600 MB of system DLLs are only read
# and stay on the share.
mkdir -p "$WINEPREFIX"
tar -C "$VARNOK_WINE_PREFIX" -cf - --exclude=./drive_c/windows/system32 . | tar -C "$WINEPREFIX" -xf -
ln -s "$VARNOK_WINE_PREFIX/drive_c/windows/system32" "$WINEPREFIX/drive_c/windows/system32"
du -sh "$WINEPREFIX"
winpath() { echo "Z:${1//\//\\}"; }
wcli() {
    timeout 300 wine /tmp/wine/varnok-cli.exe --map "$(winpath "$WORK/msmap.dat")" \
        --hid-trace "$(winpath "$WORK/wine.trace")" "$@"
}

# Varnok on Linux runs the same session on the simulated keyboard first; the table travels as
# a profile (one start of varnok-cli.exe instead of one per key, each start costing seconds).
linux() { expect 0 simulated sim "$@"; }
linux set 1 Ctrl+Alt+F4
linux set 2 --once "Mouse Double Click"
linux set 3 --string "Hello World AB"
linux export "$WORK/table.json"
linux save --verify
linux read
tr -d '\r' <out >read-linux
trace() { awk '$2 == "set" || $2 == "get" { print $2, $3, $4, $5, $6, $7, $8, $9, $10 }' "$@"; }
session=$(trace sim.trace | wc -l)
# The keyboard refuses the fifth request of the save after that session.
start_keyboard kbd --error-at $((session + 5))

step "Wine starts and varnok-cli.exe finds the keyboard through SetupAPI"
# Under emulation Wine's services and its device host take most of a minute to start; the
# first run waits for them, and the server stays for the runs after it.
wineserver -p
started=$SECONDS
expect 0 wcli list
tr -d '\r' <out
echo "found after $((SECONDS - started)) s"
grep -q '^\\\\?\\hid#vid_0426&pid_5601.*collection 0' out \
    || fail "the keyboard is not listed through SetupAPI: $(cat out)"

step "varnok-cli.exe saves with --verify the table set on Linux"
expect 0 wcli import "$(winpath "$WORK/table.json")"
started=$SECONDS
expect 0 wcli save --verify
tr -d '\r' <err
echo "saved in $((SECONDS - started)) s"
grep -q '^# .*hid#vid_0426&pid_5601.*feature report length 8$' wine.trace \
    || fail "the trace names no keyboard found through SetupAPI: $(cat wine.trace)"
same_records kbd sim.txt
records kbd.txt
pacing kbd | awk '{ n[$2]++; if (!($2 in lo) || $1 < lo[$2]) lo[$2] = $1; if ($1 > hi[$2]) hi[$2] = $1 }
    END { for (k in n) printf "%s of a record: %d gaps, %.1f to %.1f ms\n", k, n[k], lo[k], hi[k] }'
check_pacing kbd

step "varnok-cli.exe reads back what Varnok on Linux reads from the simulated keyboard"
started=$SECONDS
expect 0 wcli read
echo "read in $((SECONDS - started)) s"
tr -d '\r' <out | diff read-linux - >diff || fail "read differs: $(cat diff)"
cat read-linux
diff <(trace kbd.log) <(trace sim.trace) >diff \
    || fail "the device saw other reports than the simulated keyboard: $(cat diff)"
echo "$(sets kbd | wc -l) set and $(trace kbd.log | grep -c '^get') get requests, as on the simulated keyboard"

step "an error reply to the fifth request: the save stops there with its message, msmap.dat unchanged"
cp msmap.dat map-before
expect 1 wcli save
tr -d '\r' <err
[ -s err ] || fail "the refused save said nothing"
[ "$(trace kbd.log | wc -l)" = $((session + 5)) ] \
    || fail "requests went on after the refused one: $(trace kbd.log | tail -n +$((session + 1)))"
cmp -s map-before msmap.dat || fail "msmap.dat changed"

step "varnok-cli.exe watch says at once why it cannot test the keys under Wine"
# Wine lists the keyboard as a Raw Input keyboard but folds its own keyboard into the same
# device, and hands Raw Input none of the keyboard's presses.
expect 1 wcli watch --count 1
tr -d '\r' <err
said "under Wine the keyboard's keys cannot be told from another keyboard's"
wineserver --kill || true
