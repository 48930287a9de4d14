#!/bin/bash
# Runs one end-to-end scenario in a fresh Wine prefix with its own Xvfb and sample CD.
# usage: run-scenario.sh BUILD_DIR SCENARIO [make-sample-cd options...]
#   SCENARIO is a test of the scenario program (Suite.Name); the options choose the CD
#   variant (see tools/make-sample-cd.sh) and the drives of the scenario's own (see
#   rig_drives.sh). RIG_KEEP_FAILED=1 keeps a failed run's folder.
set -eEuo pipefail
trap 'echo "run-scenario: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../tools/rig/rig.sh
. "$here/../../tools/rig/rig.sh"
# shellcheck source=../../tools/rig/rig_drives.sh
. "$here/../../tools/rig/rig_drives.sh"

build=$1
scenario=$2
shift 2

# A row of a table of scenarios is named Rows/Suite.Name/Row: no folders in the run's name.
rig_start "$build" "${scenario//\//.}"
rig_drive_options "$@"
"$here/../../tools/make-sample-cd.sh" "${RIG_CD_OPTIONS[@]+"${RIG_CD_OPTIONS[@]}"}" "$RIG_BUILD" "$RIG_RUN/cd"
rig_map_cd "$RIG_RUN/cd"

status=0
rig_wine "$RIG_RUN/out.txt" "$RIG_RUN/err.txt" \
    "$RIG_BUILD/tests/e2e/e2e_scenarios.exe" --gtest_filter="$scenario" || status=$?
cat "$RIG_RUN/out.txt"
[ -s "$RIG_RUN/err.txt" ] && sed 's/^/stderr: /' "$RIG_RUN/err.txt"
if [ "$status" -eq 0 ] && ! grep -q '^\[  PASSED  \] 1 test' "$RIG_RUN/out.txt"; then
    echo "run-scenario: $scenario did not run (no such scenario?)" >&2
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
[ "$status" -eq 124 ] && echo "run-scenario: $scenario exceeded ${RIG_WINE_TIMEOUT}s" >&2
exit "$status"
