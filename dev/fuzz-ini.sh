#!/bin/sh
# Runs the INI store's fuzz target for SECONDS (default 300) in its own build folder and
# prints the executions and findings. Exit status 1 when anything was found.
# usage: sh dev/fuzz-ini.sh [SECONDS]
set -eu
seconds=${1:-300}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
cmake --preset native -B "$build" >/dev/null
cmake --build "$build" --target ini_fuzz >/dev/null
corpus="$build/tests/fuzz/corpus"
artifacts="$build/fuzz-findings"
mkdir -p "$corpus" "$artifacts"
log="$build/fuzz-ini.log"
status=0
"$build/tests/fuzz/ini_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$corpus" "$root/tests/fuzz/corpus" >"$log" 2>&1 || status=$?
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
findings=$(find "$artifacts" -type f | wc -l)
echo "fuzz-ini: ${seconds} s, executions: ${executions:-unknown}, findings: ${findings}" \
    "(log: $log, findings in: $artifacts)"
if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
    exit 1
fi
