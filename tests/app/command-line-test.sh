#!/usr/bin/env bash
# Runs varnok with the given arguments and checks its exit status and what it printed:
#   command-line-test.sh VARNOK STATUS PATTERN [ARGUMENT...]
varnok=$1 status=$2 pattern=$3
shift 3
output=$(QT_QPA_PLATFORM=offscreen timeout 10 "$varnok" "$@" 2>&1)
actual=$?
echo "$output"
[ "$actual" -eq "$status" ] || { echo "exit status $actual, expected $status"; exit 1; }
grep -qE -- "$pattern" <<<"$output" || { echo "output does not match: $pattern"; exit 1; }
