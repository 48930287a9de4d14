#!/bin/bash
# Runs the DDE client's tests in one fresh Wine prefix of the end-to-end rig, in three
# steps:
#   server   with an X display: Wine's desktop process serves Program Manager
#   win32s   the same, with the test program's Windows version set to Win32s
#   absent   after every Wine process of the prefix has ended, without any display: no
#            desktop process, so no Program Manager
# usage: dde-progman.sh BUILD_DIR
# The rig's EXIT trap ends every Wine process of the prefix (the folder windows that
# Wine opens for new groups included) and the Xvfb.
set -eEuo pipefail
trap 'echo "dde-progman: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../tools/rig/rig.sh
. "$here/../../tools/rig/rig.sh"

build=$1
program="$build/tests/wine/dde_tests.exe"
rig_start "$build" dde
# Wine manages its windows itself: no wait for a window manager that never answers.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

status=0
run_step() {
    local step=$1 exe=$2 filter=$3 rc=0
    echo "--- $step"
    rig_wine "$RIG_RUN/out.txt" "$RIG_RUN/err.txt" "$exe" --gtest_filter="$filter" || rc=$?
    cat "$RIG_RUN/out.txt"
    [ -s "$RIG_RUN/err.txt" ] && sed 's/^/stderr: /' "$RIG_RUN/err.txt"
    if [ "$rc" -eq 0 ] && ! grep -q '^\[  PASSED  \]' "$RIG_RUN/out.txt"; then
        echo "dde-progman: no test ran in step $step" >&2
        rc=1
    fi
    [ "$rc" -eq 0 ] || status=1
}

run_step server "$program" 'DdeObject.*:ProgramManager.*'
# Wine keys the reported version by the program's file name.
cp "$program" "$RIG_RUN/dde_win32s_tests.exe"
wine reg add 'HKCU\Software\Wine\AppDefaults\dde_win32s_tests.exe' /v Version /d win31 /f \
    >/dev/null 2>&1
run_step win32s "$RIG_RUN/dde_win32s_tests.exe" 'Win32s.*'
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
unset DISPLAY
run_step absent "$program" 'NoProgramManager.*'
exit "$status"
