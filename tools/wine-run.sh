#!/bin/bash
# Runs a Windows program under Wine in a prefix of the build folder.
# usage: wine-run.sh PREFIX PROGRAM [ARGS...]
# The prefix is made on first use (serialised with a lock, since CTest may start
# several tests at once) and reused afterwards.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix"
# The rig's Wine settings: quiet, no installer dialogs, no menu builder, its locale.
# shellcheck source=rig/rig.sh
. "$(dirname "$0")/rig/rig.sh"
while IFS= read -r setting; do export "${setting?}"; done < <(rig_wine_environment)
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$(dirname "$prefix")"
    flock "$prefix.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || wineboot -i' >/dev/null 2>&1
fi
exec wine "$@"
