#!/bin/bash
# Runs the DDE client's tests in a fresh Wine prefix of the end-to-end rig.
# usage: dde-progman.sh BUILD_DIR MODE
#   server   with an X display: Wine's desktop process serves Program Manager
#   win32s   the same, with the test program's Windows version set to Win32s
#   absent   without any display, so no desktop process and no Program Manager
# The rig's EXIT trap ends every Wine process of the prefix (the folder windows that
# Wine opens for new groups included) and the Xvfb.
set -eEuo pipefail
trap 'echo "dde-progman: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../tools/rig/rig.sh
. "$here/../../tools/rig/rig.sh"

build=$1
mode=$2
program="$build/tests/wine/dde_tests.exe"

rig_start "$build" "dde-$mode"
case $mode in
server)
    filter='DdeObject.*:ProgramManager.*'
    ;;
win32s)
    # Wine keys the reported version by the program's file name.
    cp "$program" "$RIG_RUN/dde_win32s_tests.exe"
    program="$RIG_RUN/dde_win32s_tests.exe"
    wine reg add 'HKCU\Software\Wine\AppDefaults\dde_win32s_tests.exe' /v Version /d win31 /f \
        >/dev/null 2>&1
    filter='Win32s.*'
    ;;
absent)
    unset DISPLAY
    filter='DdeObject.*:NoProgramManager.*'
    ;;
*)
    echo "dde-progman: unknown mode $mode" >&2
    exit 2
    ;;
esac

status=0
rig_wine "$RIG_RUN/out.txt" "$RIG_RUN/err.txt" "$program" --gtest_filter="$filter" || status=$?
cat "$RIG_RUN/out.txt"
[ -s "$RIG_RUN/err.txt" ] && sed 's/^/stderr: /' "$RIG_RUN/err.txt"
if [ "$status" -eq 0 ] && ! grep -q '^\[  PASSED  \]' "$RIG_RUN/out.txt"; then
    echo "dde-progman: no test ran" >&2
    status=1
fi
exit "$status"
