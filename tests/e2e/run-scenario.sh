#!/bin/bash
# Runs one run of the end-to-end scenarios in a fresh Wine prefix with its own Xvfb and
# sample CD.
# usage: run-scenario.sh BUILD_DIR RUN [make-sample-cd options...]
#   RUN is a run the scenario program declares (list-runs.sh wrote its CD options to
#   BUILD_DIR/tests/e2e/runs/RUN); options given here are added to its CD (see
#   dev/make-sample-cd.sh) and drives (see rig_drives.sh). RIG_KEEP_FAILED=1 keeps a
#   failed run's folder. With RIG_ARCH=i686 the run's programs (the scenario program and
#   the CD's files) are those of the build RIG_I686_BUILD, on the rig's 32-bit machine.
#   A run in a language runs in its locale (the first line of the run's file), which
#   gives the setup and the scenario program that code page.
set -eEuo pipefail
trap 'echo "run-scenario: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
here=$(cd "$(dirname "$0")" && pwd)
# A machine running many scenarios at once is slow: the limit is for a hung run only.
RIG_WINE_TIMEOUT=${RIG_WINE_TIMEOUT:-540}
# shellcheck source=../../tools/rig/rig.sh
. "$here/../../tools/rig/rig.sh"
# shellcheck source=../../tools/rig/rig_drives.sh
. "$here/../../tools/rig/rig_drives.sh"

build=$1
run=$2
shift 2
cd_file="$build/tests/e2e/runs/$run"
if [ ! -f "$cd_file" ]; then
    echo "run-scenario: no run $run (the build lists them in $(dirname "$cd_file"))" >&2
    exit 1
fi
{ read -r RIG_RUN_LOCALE; mapfile -t cd_options; } <"$cd_file"

programs=$build
if [ "$RIG_ARCH" = i686 ]; then
    programs=${RIG_I686_BUILD:?the i686 build folder}
    if [ ! -f "$programs/tests/e2e/e2e_scenarios.exe" ]; then
        echo "run-scenario: $run runs the i686 build, and $programs has no e2e_scenarios.exe (build the mingw32 preset)" >&2
        exit 1
    fi
fi
echo "run-scenario: $run runs the $RIG_ARCH build${RIG_RUN_LOCALE:+ in $RIG_RUN_LOCALE}"
rig_start "$programs" "$run"
rig_drive_options "${cd_options[@]+"${cd_options[@]}"}" "$@"
"$here/../../dev/make-sample-cd.sh" "${RIG_CD_OPTIONS[@]+"${RIG_CD_OPTIONS[@]}"}" "$RIG_BUILD" "$RIG_RUN/cd"
rig_map_cd "$RIG_RUN/cd"

status=0
rig_wine "$RIG_RUN/out.txt" "$RIG_RUN/err.txt" \
    "$RIG_BUILD/tests/e2e/e2e_scenarios.exe" --run="$run" || status=$?
cat "$RIG_RUN/out.txt"
[ -s "$RIG_RUN/err.txt" ] && sed 's/^/stderr: /' "$RIG_RUN/err.txt"
if [ "$status" -eq 0 ] && ! grep -q '^\[  PASSED  \] 1 test' "$RIG_RUN/out.txt"; then
    echo "run-scenario: $run did not run its test" >&2
    status=1
fi
# A reader we did not write, lnkinfo, must read every shortcut the runs left as starting
# the search program or the uninstaller of an installed tree or of the CD.
while [ "$status" -eq 0 ] && IFS= read -r -d '' link; do
    path=$(lnkinfo "$link" 2>/dev/null | sed -n 's/^[[:space:]]*Local path[[:space:]]*: //p') || true
    grep -Eiq '^[a-z]:\\(.*\\)?_red40\\bin\\(search|c_uninst)\.exe$' <<<"$path" && continue
    echo "run-scenario: lnkinfo reads ${link#"$WINEPREFIX/"} as starting \"$path\"" >&2
    status=1
done < <(find "$WINEPREFIX/drive_c" -ipath '*/start menu/programs/*' -iname '*.lnk' -print0)
[ "$status" -eq 124 ] && echo "run-scenario: $run exceeded ${RIG_WINE_TIMEOUT}s" >&2
exit "$status"
