#!/bin/bash
# Runs the Wine tests that need a display or a prefix of their own, in one fresh prefix of
# the end-to-end rig with an Xvfb of its own, step by step:
#   framework  the application framework's windows and the resource modules' dialogs
#   server     the DDE client; Wine's desktop process serves Program Manager
#   win32s     the DDE client and the registry's INI fallback, each program's Windows
#              version set to Win32s (Wine keys it by the program's file name)
# usage: run-in-rig.sh BUILD_DIR
# The rig's EXIT trap ends every Wine process of the prefix (the folder windows that
# Wine opens for new groups included) and the Xvfb.
set -eEuo pipefail
trap 'echo "run-in-rig: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../tools/rig/rig.sh
. "$here/../../tools/rig/rig.sh"

build=$1
programs="$build/tests/wine"
rig_start "$build" wine-tests

status=0
run_step() {
    local step=$1 exe=$2 filter=$3 rc=0
    echo "--- $step: $(basename "$exe") $filter"
    rig_wine "$RIG_RUN/out.txt" "$RIG_RUN/err.txt" "$exe" --gtest_filter="$filter" || rc=$?
    cat "$RIG_RUN/out.txt"
    [ -s "$RIG_RUN/err.txt" ] && sed 's/^/stderr: /' "$RIG_RUN/err.txt"
    if [ "$rc" -eq 0 ] && ! grep -q '^\[  PASSED  \]' "$RIG_RUN/out.txt"; then
        echo "run-in-rig: no test ran in step $step" >&2
        rc=1
    fi
    [ "$rc" -eq 0 ] || status=1
}

# A copy of the program whose Windows version is Win32s.
as_win32s() {
    local copy
    copy="$RIG_RUN/win32s_$(basename "$1")"
    cp "$1" "$copy"
    rig_wine "$RIG_RUN/reg.out" "$RIG_RUN/reg.err" \
        reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$copy")" /v Version /d win31 /f
    echo "$copy"
}

run_step framework "$programs/framework_tests.exe" '*'
run_step server "$programs/dde_tests.exe" 'DdeObject.*:ProgramManager.*'
run_step win32s "$(as_win32s "$programs/dde_tests.exe")" 'Win32s.*'
run_step win32s "$(as_win32s "$programs/platform_win32s_tests.exe")" '*'
exit "$status"
