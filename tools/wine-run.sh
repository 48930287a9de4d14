#!/bin/sh
# Runs a Windows program under Wine in a prefix of the build folder.
# usage: wine-run.sh PREFIX PROGRAM [ARGS...]
# The prefix is made on first use (serialised with a lock, since CTest may start
# several tests at once) and reused afterwards.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs in a test prefix, and no menu builder (the
# shortcuts the tests make would become menu entries in the home folder).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$(dirname "$prefix")"
    flock "$prefix.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || wineboot -i' >/dev/null 2>&1
fi
exec wine "$@"
