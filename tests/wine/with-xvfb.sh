#!/bin/sh
# Runs a windowed Windows test program under Wine with an X server of its own.
# usage: with-xvfb.sh PREFIX PROGRAM [ARGS...]
# Starts Xvfb on a display it reports free, runs PROGRAM through tools/wine-run.sh in
# PREFIX (a prefix of its own, so no other test's Wine processes hold that display),
# then ends every Wine process of PREFIX and the Xvfb, whatever the outcome.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
shift

run=$(mktemp -d)
xvfb_pid=""
cleanup() {
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkfifo "$run/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run/display" >"$run/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
read -r display <"$run/display" || true
if [ -z "$display" ]; then
    echo "with-xvfb: Xvfb did not report a display" >&2
    cat "$run/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$display"
# Wine manages its windows itself: no wait for a window manager that never answers.
"$here/../../tools/wine-run.sh" "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d N /f >/dev/null 2>&1
status=0
"$here/../../tools/wine-run.sh" "$prefix" "$@" || status=$?
exit $status
