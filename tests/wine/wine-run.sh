#!/bin/bash
# The emulator CMake runs the cross-built tests with: a program under Wine, in a machine
# of the rig (tools/rig/machine.sh) without a display, kept in the build folder.
# usage: wine-run.sh BUILD PROGRAM [ARGS...]
#        wine-run.sh BUILD --end
# The machine (BUILD/e2e-rig/wine-tests) is made on first use, its prefix a clone of the
# build's pristine prefix, which the rig boots once for the end-to-end runs too; CTest may
# start several tests at once, so a lock serialises it. Every process started carries the
# rig's mark: --end asks the programs to end (Wine writes its registry files then) and
# ends whatever is left, with its server's socket folder.
set -eu
build=$1
folder=$build/e2e-rig/wine-tests
shift
export RIG_ARCH=x86_64  # the host's own Wine runs the tests
machine_sh="$(dirname "$0")/../../tools/rig/machine.sh"
# shellcheck source=../../tools/rig/machine.sh
. "$machine_sh"
if [ "$*" = --end ]; then
    [ ! -d "$folder/prefix" ] || WINEPREFIX="$folder/prefix" rig_end_programs
    rig_end_machine "$folder"
    exit 0
fi
if [ ! -f "$folder/wine-socket-folder" ]; then
    mkdir -p "$folder"
    flock "$folder/lock" bash -c '
        . "$0"; build=$1 folder=$2
        [ -f "$folder/wine-socket-folder" ] && exit 0
        rm -rf "$folder/prefix"
        rig_machine_prefix "$folder" "$(rig_pristine_prefix "$build")"
    ' "$machine_sh" "$build" "$folder"
fi
rig_machine_environment "$folder"
exec wine "$@"
