#!/bin/bash
# Asks the scenario program for its runs (e2e_scenarios.exe --list-runs) and writes what
# CTest needs: BUILD/tests/e2e/runs/NAME, the CD options of the run NAME one a line (read
# by run-scenario.sh), and BUILD/tests/e2e/runs.cmake, an entry e2e.NAME of each run.
# The program runs in a copy of the rig's pristine Wine prefix, without a display.
# usage: list-runs.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../tools/rig/rig.sh
. "$here/../../tools/rig/rig.sh"

build=$(cd "$1" && pwd)
out="$build/tests/e2e"
pristine=$(rig_pristine_prefix "$build")
scratch=$(mktemp -d "$build/e2e-rig/list.XXXX")
stop() {
    WINEPREFIX="$scratch/prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$scratch/prefix" wineserver -w >/dev/null 2>&1 || true
    rm -rf "$scratch"
}
trap stop EXIT
rig_clone_prefix "$pristine" "$scratch/prefix"
if ! (unset DISPLAY; WINEPREFIX="$scratch/prefix" WINEDEBUG=-all \
      timeout 300 wine "$out/e2e_scenarios.exe" --list-runs >"$scratch/runs.txt" 2>"$scratch/err.txt"); then
    echo "list-runs: the scenario program cannot list its runs:" >&2
    cat "$scratch/err.txt" >&2
    exit 1
fi

rm -rf "$out/runs"
mkdir -p "$out/runs"
{
    echo "# Made by tests/e2e/list-runs.sh from e2e_scenarios.exe --list-runs."
    while IFS= read -r line; do
        line=${line%$'\r'}
        name=${line%%$'\t'*}
        if [ "$line" = "$name" ]; then : >"$out/runs/$name"; else
            printf '%s\n' "${line#*$'\t'}" | tr '\t' '\n' >"$out/runs/$name"; fi
        echo "add_test([=[e2e.$name]=] [=[$here/run-scenario.sh]=] [=[$build]=] [=[$name]=])"
        echo "set_tests_properties([=[e2e.$name]=] PROPERTIES TIMEOUT 600 LABELS e2e)"
    done <"$scratch/runs.txt"
} >"$out/runs.cmake.new"
mv "$out/runs.cmake.new" "$out/runs.cmake"
