#!/bin/bash
# Asks the scenario program for its runs (e2e_scenarios.exe --list-runs: NAME, ARCH,
# LOCALE or "-" for the rig's own, CD options...) and writes what CTest needs:
# BUILD/tests/e2e/runs/NAME, the run's locale (empty for the rig's own) and then its CD
# options, one a line (read by run-scenario.sh), and BUILD/tests/e2e/runs.cmake, an
# entry e2e.NAME of each run.
# An i686 run takes its programs from I686_BUILD, on the rig's 32-bit machine, which the
# entry e2e.Machine32 makes first when it is not made yet.
# The program runs in a machine of the rig of its own.
# usage: list-runs.sh BUILD_DIR I686_BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
RIG_WINE_TIMEOUT=300
export RIG_ARCH=x86_64  # the x86_64 build lists every run
# shellcheck source=../../tools/rig/rig.sh
. "$here/../../tools/rig/rig.sh"

build=$(cd "$1" && pwd)
i686_build=$2
out="$build/tests/e2e"
rig_start "$build" list-runs
if ! rig_wine "$RIG_RUN/runs.txt" "$RIG_RUN/err.txt" "$out/e2e_scenarios.exe" --list-runs; then
    echo "list-runs: the scenario program cannot list its runs:" >&2
    cat "$RIG_RUN/err.txt" >&2
    exit 1
fi

rm -rf "$out/runs"
mkdir -p "$out/runs"
{
    echo "# Made by tests/e2e/list-runs.sh from e2e_scenarios.exe --list-runs."
    machine32=""
    while IFS=$'\t' read -r -a fields; do
        fields[-1]=${fields[-1]%$'\r'}
        name=${fields[0]} arch=${fields[1]} locale=${fields[2]}
        [ "$locale" != - ] || locale=""
        printf '%s\n' "$locale" "${fields[@]:3}" >"$out/runs/$name"
        echo "add_test([=[e2e.$name]=] [=[$here/run-scenario.sh]=] [=[$build]=] [=[$name]=])"
        echo "set_tests_properties([=[e2e.$name]=] PROPERTIES TIMEOUT 600 LABELS e2e)"
        [ "$arch" = i686 ] || continue
        echo "set_tests_properties([=[e2e.$name]=] PROPERTIES FIXTURES_REQUIRED machine32"
        echo "    ENVIRONMENT [=[RIG_ARCH=i686;RIG_I686_BUILD=$i686_build]=])"
        machine32=1
    done <"$RIG_RUN/runs.txt"
    if [ -n "$machine32" ]; then
        # Made once per machine (about 10 minutes), then found ready in a moment.
        echo "add_test(e2e.Machine32 bash -c [=[. \"\$0\" && RIG_ARCH=i686 rig_pristine_prefix -]=] [=[$here/../../tools/rig/rig.sh]=])"
        echo "set_tests_properties(e2e.Machine32 PROPERTIES TIMEOUT 3600 LABELS e2e FIXTURES_SETUP machine32)"
    fi
} >"$out/runs.cmake.new"
mv "$out/runs.cmake.new" "$out/runs.cmake"
