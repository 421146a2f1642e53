#!/usr/bin/env bash
# varnok-cli's command-line session as a user runs it, on Linux and (varnok-cli.exe) under Wine:
# every command's exit status, standard output and standard error, then the bytes it left in
# the simulated keyboard's key table, msmap.dat, the HID trace and the exported profile. Both
# systems must give the one transcript in TRANSCRIPT, byte for byte. The user's data folder
# (XDG_DATA_HOME; %APPDATA% on Windows) and the folder of --map, --hid-trace and the key table
# are named in Chinese, with a space.
# Usage: cli-session-test.sh linux|windows PROGRAM TRANSCRIPT (WINEPREFIX set for windows);
# with VARNOK_UPDATE_TRANSCRIPT=1 it writes TRANSCRIPT instead (then read it before committing).
set -euo pipefail
system=$1
program=$(realpath "$2")
expected=$(realpath -m "$3")
work=$(mktemp -d)
export LC_ALL=C.UTF-8
data="用户 甲"
own="键盘 乙"
mkdir -p "$work/$data" "$work/$own"

if [ "$system" = windows ]; then
    # Wine takes %APPDATA% from the prefix's registry, not from the environment: cmd sets it for
    # each run. Its arguments travel in the environment, where cmd's quoting holds them whole.
    native_work="Z:${work//\//\\}"
    export VARNOK_TEST_APPDATA="$native_work\\$data"
    # varnok-cli works on the window's settings: the prefix's are kept aside meanwhile.
    settings='HKCU\Software\brelmoth\varnok'
    kept_settings=""
    if wine reg query "$settings" >/dev/null 2>&1; then
        kept_settings="$work.reg"
        wine reg export "$settings" "$(winepath -w "$kept_settings")" /y >/dev/null 2>&1
        wine reg delete "$settings" /f >/dev/null 2>&1
    fi
    cleanup() {
        cd /
        wine reg delete "$settings" /f >/dev/null 2>&1 || true
        if [ -n "$kept_settings" ]; then
            wine reg import "$(winepath -w "$kept_settings")" >/dev/null 2>&1 || true
            rm -f "$kept_settings"
        fi
        rm -rf "$work"
        # cmd's session holds Wine's desktop without a display: the next test needs its own.
        wineserver --wait
    }
    run() {  # ARGUMENTS...: varnok-cli.exe, its output in $work/out and $work/err
        local command="\"$(winepath -w "$program")\"" argument attempt status
        for argument in "$@"; do command+=" \"$argument\""; done
        # On a busy machine Wine's cmd has returned 0 without running the program: nothing
        # printed and no report in the trace. Only clear, import and export succeed silently:
        # another command's silent success is Wine's and is tried again (a program that stays
        # silent still fails).
        for attempt in 1 2 3; do
            status=0
            VARNOK_TEST_COMMAND=$command \
                wine cmd /c 'set APPDATA=%VARNOK_TEST_APPDATA%&& %VARNOK_TEST_COMMAND%' \
                <"$input" >"$work/out" 2>"$work/err" || status=$?
            if [ $status -ne 0 ] || [ -s "$work/out" ] || [ -s "$work/err" ] \
                || [[ " $* " =~ \ (clear|import|export)\  ]]; then break; fi
            echo "cli-session-test: Wine ran nothing for: $*; trying again" >&2
        done
        return $status
    }
else
    native_work=$work
    cleanup() { rm -rf "$work"; }
    run() {  # ARGUMENTS...: varnok-cli, its output in $work/out and $work/err
        env HOME="$work/$data" XDG_DATA_HOME="$work/$data" XDG_CONFIG_HOME="$work/config" \
            "$program" "$@" <"$input" >"$work/out" 2>"$work/err"
    }
fi
trap cleanup EXIT
cd "$work"

sim='--virtual-keyboard keys.txt'
# Every file of its own in the Chinese folder, named by its full path as a user types it.
own_files="--virtual-keyboard \"@/$own/按键.txt\" --map \"@/$own/msmap.dat\" --hid-trace \"@/$own/跟踪.log\""
# One command a row, as the shell reads it; @ is the scratch folder; a last word <FILE is the
# command's standard input.
rows=(
    # The README's session: the store in the user's data folder.
    "$sim list"
    "$sim set 1 Ctrl+C"
    "$sim set 2 --once \"Close Window\""
    "$sim set 3 --string \"Hello, World\""
    "$sim set 4 Enter"
    "$sim unset 4"
    "$sim save --verify"
    "$sim export keys.json"
    "$sim clear"
    "$sim show"
    "$sim import keys.json"
    "$sim show"
    "$sim save"
    "$sim read --json"
    "$sim list --json"
    "$sim export -"
    "$sim import - <keys.json"
    # What is refused, and why, with the status a script sees.
    "$sim set 7 Ctrl+C"
    "$sim set 5 --string 你好"
    "$sim set 5 Ctrl+Nothing"
    "$sim set 5"
    "$sim watch --count 1"
    "$sim import \"$own/缺少.json\""
    "$sim frobnicate"
    "save"
    # Map, trace and key table under the Chinese folder.
    "$own_files set 5 --string abc"
    "$own_files set 6 \"Ctrl|Alt|F4|,\""
    "$own_files save --verify"
    "$own_files read --store"
    "$own_files show --json"
    # A text in Chinese, as Varnok on Windows may store it, takes two columns a character.
    "$own_files import - <wide.json"
    "$own_files show"
)

cat >"$work/wide.json" <<'PROFILE'
{"format": "varnok-profile", "version": 1, "language": "English", "keyCount": 2, "keys": [
  {"key": 1, "function": "Normal", "text": "复制", "definition": "01 01 00 06 00 00 00 00"},
  {"key": 2, "function": "Once", "text": "Ctrl|C|,", "definition": "01 01 00 06 00 00 00 00"}]}
PROFILE
transcript="$work/transcript.txt"
: >"$work/empty"
for row in "${rows[@]}"; do
    input="$work/empty"
    line=${row//@/$native_work}
    if [[ $line =~ \ \<([^ ]+)$ ]]; then
        input=$work/${BASH_REMATCH[1]}
        line=${line% <*}
    fi
    eval "arguments=($line)"
    status=0
    run "${arguments[@]}" || status=$?
    {
        echo "\$ varnok-cli $row"
        echo "status $status"
        cat "$work/out"
        sed 's/^/! /' "$work/err"
    } >>"$transcript"
done
# Windows programs end their lines with CR LF; the scratch folder becomes @, with / after it.
sed -i -e 's/\r$//' -e "s|$(printf '%s' "$native_work" | sed 's/[\\|.]/\\&/g')[\\/]|@/|g" "$transcript"

# FILE as text, in hex, or as a trace; a missing file shows as such in the difference.
dump() {
    echo "== $1"
    if [ ! -f "$1" ]; then echo "(missing)"; return; fi
    case ${2:-} in
        hex) od -An -v -tx1 "$1" ;;
        # The time of each report is the machine's; the rest is the keyboard's.
        trace) sed -E 's/^(# )?[0-9]+(\.[0-9]+)? /\1T /' "$1" ;;
        *) cat "$1" ;;
    esac
}
{
    dump keys.txt
    dump "$data/brelmoth/varnok/msmap.dat" hex
    dump keys.json
    dump "$own/按键.txt"
    dump "$own/msmap.dat" hex
    dump "$own/跟踪.log" trace
} >>"$transcript"

if [ "${VARNOK_UPDATE_TRANSCRIPT:-}" = 1 ]; then
    cp "$transcript" "$expected"
    echo "wrote $expected"
    exit 0
fi
if ! diff -u "$expected" "$transcript"; then
    echo "FAILED: varnok-cli on $system differs from $expected (above, - expected, + found)"
    exit 1
fi
echo "passed"
