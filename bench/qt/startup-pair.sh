#!/bin/bash
# Times Varnok's start-up against the bare dialog's, side by side: each run starts the program
# with the shown-exit hook preloaded, so the process ends once its window is on screen, and
# the wall time from its start to its end is its start-up time. The two programs alternate
# (Varnok, bare, Varnok, bare, ...) so that a machine that speeds up or slows down during the
# call moves both alike; the ratio is taken pair by pair. Prints every pair, then the median,
# minimum and maximum of each figure.
#
#   bench/qt/startup-pair.sh BUILD_DIR [RUNS] [-- BARE_DIALOG_ARGS...]
#
# BUILD_DIR is a build with -DVARNOK_BENCHMARKS=ON. QT_QPA_PLATFORM defaults to offscreen; set
# it (and DISPLAY) to time real windows, e.g. on Xvfb. Varnok runs in a scratch directory
# with its own settings location, so no msmap.dat or settings of the user are read or written.
set -euo pipefail

build=${1:?usage: startup-pair.sh BUILD_DIR [RUNS] [-- BARE_DIALOG_ARGS...]}
build=$(cd "$build" && pwd)
shift
runs=15
if [[ $# -gt 0 && $1 != -- ]]; then runs=$1; shift; fi
[[ $# -gt 0 && $1 == -- ]] && shift
bare_args=("$@")

varnok=$build/varnok
bare=$build/bench/BareDialog
hook=$build/bench/libShownExitHook.so
for file in "$varnok" "$bare" "$hook"; do
    [[ -e $file ]] || { echo "missing $file (build with -DVARNOK_BENCHMARKS=ON)" >&2; exit 2; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/runtime
cd "$scratch"

# Milliseconds from the start of the command to its end; fails unless the window was shown.
time_one() {
    local start end
    start=$(date +%s%N)
    LD_PRELOAD=$hook "$@" >/dev/null 2>"$scratch/err" </dev/null
    end=$(date +%s%N)
    grep -q '^shown ' "$scratch/err" || { echo "no window shown by $*:" >&2; cat "$scratch/err" >&2; exit 1; }
    echo $(( (end - start) / 1000 ))
}

# One warm-up pair, not counted: the first start reads the libraries from disk.
time_one "$varnok" >/dev/null
time_one "$bare" "${bare_args[@]}" >/dev/null

echo "platform $QT_QPA_PLATFORM, $runs pairs, times in ms"
echo "pair varnok bare ratio"
for ((i = 1; i <= runs; i++)); do
    a=$(time_one "$varnok")
    b=$(time_one "$bare" "${bare_args[@]}")
    awk -v i="$i" -v a="$a" -v b="$b" 'BEGIN { printf "%d %.1f %.1f %.3f\n", i, a / 1000, b / 1000, a / b }'
done | tee "$scratch/pairs"

summary() {  # column, name, format
    sort -g -k"$1","$1" "$scratch/pairs" | awk -v c="$1" -v name="$2" -v f="$3" '
        { v[NR] = $c }
        END {
            m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            printf "%s median " f " min " f " max " f "\n", name, m, v[1], v[NR]
        }'
}
summary 2 varnok "%.1f"
summary 3 bare "%.1f"
summary 4 ratio "%.3f"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
