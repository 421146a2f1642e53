# Sourced by every scenario of tests/guest/scenarios/ inside the virtual machine. WORK is the
# scenario's own folder on tmpfs; VARNOK_BUILD, VARNOK_RESULTS and VARNOK_ROOT come from the
# runner. Each scenario stops at its first failure (set -e) with a FAILED line saying why.
set -eEuo pipefail
trap 'echo "FAILED: $BASH_COMMAND (line $LINENO) ended with status $?"' ERR
cd "$WORK"
# The map file, settings and journals of this scenario's user, not the host's.
export XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config XDG_STATE_HOME=$WORK/state
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
cli=$VARNOK_BUILD/varnok-cli
uhid_keyboard=$VARNOK_BUILD/tests/varnok-uhid-keyboard
declare -A keyboard_pids=()

fail() {
    echo "FAILED: $*"
    exit 1
}
step() { echo "-- $*"; }

# start_keyboard NAME [options of varnok-uhid-keyboard...]: a keyboard over uhid whose key
# table is NAME.txt and whose log is NAME.log in WORK; waits for its hidraw node unless it is
# created later (--create-after).
start_keyboard() {
    local name=$1
    shift
    "$uhid_keyboard" --table "$WORK/$name.txt" --log "$WORK/$name.log" --uniq "$name" "$@" \
        2>>"$WORK/$name.err" &
    keyboard_pids[$name]=$!
    case " $* " in *" --create-after "*) ;; *) node_of "$name" >/dev/null ;; esac
}

# stop_keyboard NAME: removes the keyboard; its key table stays.
stop_keyboard() {
    local pid=${keyboard_pids[$1]}
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    unset "keyboard_pids[$1]"
}

# node_of NAME: the hidraw node of keyboard NAME, once the kernel has made it (20 s at most).
node_of() {
    local deadline=$((SECONDS + 20)) uevent node
    while [ $SECONDS -lt $deadline ]; do
        uevent=$(grep -lx "HID_UNIQ=$1" /sys/class/hidraw/hidraw*/device/uevent 2>/dev/null || true)
        uevent=${uevent%%$'\n'*}
        node=${uevent#/sys/class/hidraw/}
        [ -n "$uevent" ] && [ -c "/dev/${node%%/*}" ] && { echo "/dev/${node%%/*}"; return 0; }
        sleep 0.2
    done
    fail "keyboard $1 has no hidraw node after 20 s: $(cat "$WORK/$1.err" 2>/dev/null)"
}

# gone NAME: waits until keyboard NAME's node has left (20 s at most).
gone() {
    local deadline=$((SECONDS + 20))
    while [ $SECONDS -lt $deadline ]; do
        grep -qsx "HID_UNIQ=$1" /sys/class/hidraw/hidraw*/device/uevent || return 0
        sleep 0.2
    done
    fail "keyboard $1 still has a hidraw node"
}

# records FILE: the records of a key table file, comments left out.
records() { grep -v '^#' "$1" 2>/dev/null || true; }

# sets NAME: the data bytes of every set request keyboard NAME received, one per line.
sets() { awk '$2 == "set" { print $3, $4, $5, $6, $7, $8, $9, $10 }' "$WORK/$1.log"; }

# same_records NAME FILE: keyboard NAME holds exactly the records of key table FILE.
same_records() {
    diff <(records "$WORK/$1.txt") <(records "$2") >"$WORK/diff" \
        || fail "keyboard $1 holds other records than $2: $(cat "$WORK/diff")"
}

# run_status COMMAND...: runs it with output to WORK/out and WORK/err, prints its exit status.
run_status() {
    local status=0
    "$@" >"$WORK/out" 2>"$WORK/err" || status=$?
    echo "$status"
}

# expect STATUS COMMAND...: the command ends with STATUS.
expect() {
    local want=$1 got
    shift
    got=$(run_status "$@")
    [ "$got" = "$want" ] || fail "$* ended with $got, not $want: $(cat "$WORK/out" "$WORK/err")"
}

# said TEXT: standard output or error of the last expect held TEXT.
said() {
    grep -qF -- "$1" "$WORK/out" "$WORK/err" || fail "no \"$1\" in: $(cat "$WORK/out" "$WORK/err")"
}

# pacing NAME: the gaps between successive data reports (page selections left out) that
# keyboard NAME received, in milliseconds, each with "next" when the report continued a record
# (the keyboard needs 200 ms before it) or "first" when it began one (nothing to wait for).
pacing() {
    awk '$2 == "set" && $4 != "BB" { if (seen) printf "%.1f %s\n", ($1 - last) * 1000, $11; last = $1; seen = 1 }' \
        "$WORK/$1.log"
}

# check_pacing NAME: at least 200 ms before every report that continues a record, and no
# pause before one that begins a record (the median under 100 ms: the device's own clock
# under emulation takes a few ms between two requests).
check_pacing() {
    local short
    short=$(pacing "$1" | awk '$2 == "next" && $1 < 200')
    [ -z "$short" ] || fail "reports of one record less than 200 ms apart: $short"
    local median
    median=$(pacing "$1" | awk '$2 == "first" { print $1 }' | sort -n \
        | awk '{ v[NR] = $1 } END { print NR ? v[int((NR + 1) / 2)] : 0 }')
    awk -v m="$median" 'BEGIN { exit !(m < 100) }' \
        || fail "a record begins a median $median ms after the one before: a pause where none is needed"
}

# simulated NAME COMMAND...: varnok-cli on the simulated keyboard whose table is NAME.txt in
# WORK, with its trace in NAME.trace, on a map and settings of its own.
simulated() {
    local name=$1
    shift
    XDG_DATA_HOME=$WORK/$name-data XDG_CONFIG_HOME=$WORK/$name-config \
        "$cli" --virtual-keyboard "$WORK/$name.txt" --hid-trace "$WORK/$name.trace" "$@"
}
