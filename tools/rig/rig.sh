# The end-to-end rig's run: one machine of the rig (machine.sh) for the length of a
# script. Sourced (bash) by run-scenario.sh, list-runs.sh, tests/wine/run-in-rig.sh and
# the development scripts dev/demo.sh, dev/screenshots.sh and dev/bench-install.sh; the
# CD try-out (tools/trycd/rig.py) runs machine.sh's functions through it.
#
# rig_start BUILD NAME makes a run folder below BUILD/e2e-rig/runs and starts a machine
# there from the build's pristine prefix (rig_machine_start: RIG_ARCH, RIG_RUN_LOCALE and
# RIG_USE_DISPLAY say which). rig_map_cd DIR makes DIR the machine's drive D:, of type
# CD-ROM. rig_wine OUT ERR PROGRAM ARGS... runs a Windows program there within
# RIG_WINE_TIMEOUT seconds. rig_stop ends everything the machine started and removes the
# run folder; rig_start installs it as an EXIT trap, so it also runs when a check fails
# or the script is interrupted. RIG_KEEP_FAILED=1 keeps a failed run's folder, its
# registry files written.

RIG_WINE_TIMEOUT=${RIG_WINE_TIMEOUT:-180}
# shellcheck source=machine.sh
. "$(dirname "${BASH_SOURCE[0]}")/machine.sh"
# shellcheck source=rig_image.sh
. "$(dirname "${BASH_SOURCE[0]}")/rig_image.sh"

rig_start() {
    local build=$1 name=$2 pristine
    RIG_BUILD=$(cd "$build" && pwd)
    mkdir -p "$RIG_BUILD/e2e-rig/runs"
    rig_remove_abandoned_runs "$RIG_BUILD/e2e-rig/runs"
    RIG_RUN=$(mktemp -d "$RIG_BUILD/e2e-rig/runs/$name.XXXX")
    echo $$ >"$RIG_RUN/owner"
    RIG_XVFB_PID=""
    trap rig_stop EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    echo "$name" >"$RIG_RUN/name"
    pristine=$(rig_pristine_prefix "$RIG_BUILD")
    rig_machine_start "$RIG_RUN" "$pristine"
}

# With RIG_CD_IMAGE set (rig_drives.sh --image), the CD is its pressed image, mounted.
rig_map_cd() {
    [ -n "${RIG_CD_IMAGE:-}" ] && { rig_mount_cd_image "$RIG_CD_IMAGE"; return; }
    rig_map_drive D "$(cd "$1" && pwd)"
}

rig_wine() {
    local out=$1 err=$2
    shift 2
    rig_run_limited "$RIG_WINE_TIMEOUT" "$RIG_RUN" "$RIG_BUILD" -- wine "$@" >"$out" 2>"$err"
}

rig_stop() {
    local rc=$?
    trap - EXIT INT TERM
    if [ -n "${RIG_RUN:-}" ] && [ -d "$RIG_RUN" ]; then
        if [ "$rc" -ne 0 ] && [ -n "${RIG_KEEP_FAILED:-}" ]; then
            # Asked to end, Wine's programs write the registry files, for a look.
            [ "${WINEPREFIX:-}" != "$RIG_RUN/prefix" ] || rig_end_programs "$RIG_RUN"
            rig_end_machine "$RIG_RUN"
            echo "rig: kept $RIG_RUN" >&2
        else
            rig_remove_run "$RIG_RUN"
        fi
    fi
    # The display, a child of this shell, has ended with the machine.
    [ -z "${RIG_XVFB_PID:-}" ] || wait "$RIG_XVFB_PID" 2>/dev/null || true
    exit "$rc"
}
