# Shell side of the end-to-end rig, sourced by run-scenario.sh and dev/demo.sh (bash);
# the CD try-out (tools/trycd/rig.py) takes its pristine prefix, its clones and the
# removal of abandoned run folders from here too.
#
# rig_start BUILD NAME makes a run folder below BUILD/e2e-rig/runs with a fresh copy of
# the build's pristine Wine prefix, starts an Xvfb of its own on a free display and
# exports WINEPREFIX, DISPLAY and the quiet Wine settings; with RIG_RUN_LOCALE set (a
# run in a language, ja_JP.UTF-8) its LC_ALL is that locale. rig_map_cd DIR makes DIR the
# prefix's drive D:, of type CD-ROM. rig_stop ends every Wine process of the prefix and
# the Xvfb, and removes the run folder; rig_start installs it as an EXIT trap, so it
# also runs when a check fails or the script is interrupted. With RIG_USE_DISPLAY=1 and
# DISPLAY set, the windows go to that display and no Xvfb is started. With RIG_ARCH=i686
# the run is on the 32-bit machine (machine32.sh): its prefix is a 32-bit one, and
# rig_wine runs the programs there.

RIG_WINE_TIMEOUT=${RIG_WINE_TIMEOUT:-180}
# No Mono or Gecko installer dialogs; and no menu builder, which would turn the shortcuts
# of every run into menu entries and icons in the home folder of the user running it.
RIG_DLL_OVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine takes its Windows code page and language from the locale: every Wine of the rig
# runs in C.UTF-8 (code page 1252), which the C library of every Debian machine carries,
# unless a run is in a language of its own (RIG_RUN_LOCALE, a locale that
# tools/install-deps.sh makes). In the plain C locale of a fresh machine Wine cannot name
# a file "odd Ä"; in a person's own locale the setup would meet another language.
RIG_LOCALE=C.UTF-8

# The environment every Wine of the rig runs with, as NAME=VALUE lines (tools/trycd
# takes it from here too).
rig_wine_environment() {
    printf '%s\n' WINEDEBUG=-all "WINEDLLOVERRIDES=$RIG_DLL_OVERRIDES" "LC_ALL=$RIG_LOCALE"
}
# shellcheck source=rig_image.sh
. "$(dirname "${BASH_SOURCE[0]}")/rig_image.sh"
# shellcheck source=machine32.sh
. "$(dirname "${BASH_SOURCE[0]}")/machine32.sh"
RIG_ARCH=${RIG_ARCH:-x86_64}

# Makes a new prefix as every run's starts: drive D: a CD-ROM drive, no crash dialog, and
# windows Wine manages itself. Runs in the machine the prefix is for, with WINEPREFIX set.
RIG_BOOT_PREFIX='
    wineboot -i >/dev/null 2>&1
    # Drive D: is the sample CD; the link itself is made per run.
    wine reg add "HKLM\\Software\\Wine\\Drives" /v d: /t REG_SZ /d cdrom /f >/dev/null 2>&1
    # A crashing program must fail its scenario at once, not wait behind a dialog.
    wine reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashNotification /t REG_DWORD \
        /d 0 /f >/dev/null 2>&1
    # Wine manages its windows itself, as a desktop would: without a window manager
    # it otherwise waits 2 s for one to confirm every window it hides.
    wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true'

# The pristine prefix of a build (x86_64) or of the 32-bit machine (i686), made once;
# scenarios started together wait for the first one. The marker names the prefix's
# settings, so a prefix made with older ones is made again.
rig_pristine_prefix() {
    local build=$1 pristine
    if [ "$RIG_ARCH" = i686 ]; then
        rig32_make >&2 || return 1
        pristine=$RIG32_PRISTINE
    else
        pristine="$build/e2e-rig/pristine-prefix"
    fi
    mkdir -p "$(dirname "$pristine")"
    RIG_ARCH=$RIG_ARCH flock "$pristine.lock" bash -c '
        . "$1"; pristine=$2
        ready=$pristine/.rig-ready-unmanaged-$RIG_LOCALE
        [ -f "$ready" ] && exit 0
        rm -rf "$pristine"
        export WINEPREFIX="$pristine"
        while IFS= read -r setting; do export "${setting?}"; done < <(rig_wine_environment)
        unset DISPLAY
        if [ "$RIG_ARCH" = i686 ]; then
            mkdir -p "$pristine"
            rig32_run "$pristine" -- bash -c "$RIG_BOOT_PREFIX"
        else
            bash -c "$RIG_BOOT_PREFIX"
        fi
        # The server has ended; its socket folder stays behind unless removed.
        socket_dir=$(rig_wine_server_folder "$pristine")
        [ -z "$socket_dir" ] || rm -rf "$socket_dir"
        touch "$ready"
    ' rig-pristine "${BASH_SOURCE[0]}" "$pristine"
    echo "$pristine"
}

# A prefix is about 700 MB, nearly all of it Wine's program files, which no scenario
# changes: those are hard links to the pristine prefix's files. Everything else (the
# registry files, which Wine also rewrites in place, and all of drive_c's other files)
# is a real copy.
rig_clone_prefix() {
    local from=$1 to=$2
    cp -al "$from" "$to"
    (cd "$from" && find . -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' \
        -o -iname '*.sys' -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' \
        -o -iname '*.ax' -o -iname '*.tlb' -o -iname '*.nls' -o -iname '*.ttf' \) -print0 |
        xargs -0 cp -p --remove-destination --parents -t "$to")
}

# A run killed outright (SIGKILL) leaves its folder behind, with an immutable CD that a
# plain rm cannot remove, and its Wine processes; the next run ends them and removes it. A folder without an owner file is
# still being set up by a run that has just started.
rig_remove_abandoned_runs() {
    local run owner
    for run in "$1"/*; do
        # A run that ends meanwhile removes its own folder: not an error.
        owner=$(cat "$run/owner" 2>/dev/null) || continue
        kill -0 "$owner" 2>/dev/null && continue
        # Its programs would wait for ever for a server in a prefix that is gone.
        rig_kill_prefix_processes "$run/prefix"
        fusermount -uz "$run/cd-image" 2>/dev/null || true
        umount -l "$run/cd-ro" 2>/dev/null || true
        chattr -R -i "$run/cd" 2>/dev/null || true
        chmod -R u+w "$run" 2>/dev/null || true
        rm -rf --one-file-system "$run"
    done
}

rig_start() {
    local build=$1 name=$2
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

    local pristine
    pristine=$(rig_pristine_prefix "$RIG_BUILD")
    rig_clone_prefix "$pristine" "$RIG_RUN/prefix"
    export WINEPREFIX="$RIG_RUN/prefix"
    local setting
    while IFS= read -r setting; do export "${setting?}"; done < <(rig_wine_environment)
    # The pristine prefix stays in the rig's locale; Wine brings a clone into the run's.
    [ -z "${RIG_RUN_LOCALE:-}" ] || export LC_ALL=$RIG_RUN_LOCALE

    # The demo may show its windows on the user's display instead.
    [ -n "${RIG_USE_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ] && return 0
    # Xvfb writes the display number it found free to the descriptor we give it.
    local fifo="$RIG_RUN/display.fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >"$RIG_RUN/xvfb.log" 2>&1 &
    RIG_XVFB_PID=$!
    local display=""
    read -r -t 20 display <"$fifo" || true
    if [ -z "$display" ]; then
        echo "rig: Xvfb did not report a display" >&2
        cat "$RIG_RUN/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$display"
}

# With RIG_CD_IMAGE set (rig_drives.sh --image), the CD is its pressed image, mounted.
rig_map_cd() {
    [ -n "${RIG_CD_IMAGE:-}" ] && { rig_mount_cd_image "$RIG_CD_IMAGE"; return; }
    ln -sfn "$(cd "$1" && pwd)" "$WINEPREFIX/dosdevices/d:"
}

# Runs a Windows program in the rig's prefix with a time limit; output goes to files
# (a GUI program can leave explorer.exe holding a pipe open).
rig_wine() {
    local out=$1 err=$2
    shift 2
    if [ "$RIG_ARCH" = i686 ]; then
        timeout --kill-after=5 "$RIG_WINE_TIMEOUT" bash -c '. "$0"; rig32_run "$@"' "$RIG32_SH" \
            "$RIG_RUN" "$RIG_BUILD" -- wine "$@" >"$out" 2>"$err"
    else
        timeout --kill-after=5 "$RIG_WINE_TIMEOUT" wine "$@" >"$out" 2>"$err"
    fi
}

# The Wine processes of a prefix: every one (loader, programs, server) carries WINEPREFIX
# in its environment and runs a binary named wine... (or, on the 32-bit machine, the
# emulator); so do the rig's own commands, which are left out by that name.
rig_prefix_processes() {
    local file pid exe
    # None found is no failure (callers' ERR traps see into this substitution).
    for file in $(grep -lzxF "WINEPREFIX=$1" /proc/[0-9]*/environ 2>/dev/null || true); do
        pid=${file#/proc/}
        pid=${pid%/environ}
        exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || continue
        case ${exe##*/} in wine* | "${RIG32_QEMU##*/}") echo "$pid" ;; esac
    done
}

# The folder of a prefix's server socket, which Wine leaves behind when its server ends:
# Debian's Wine keeps it below $TMPDIR/wine-XXXXXX (named in the prefix's file
# "wineserver"), server-DEVICE-INODE of the prefix. Nothing for a prefix without that file.
rig_wine_server_folder() {
    [ -f "$1/wineserver" ] || return 0
    local tmp=${TMPDIR:-/tmp}
    [ "$RIG_ARCH" = i686 ] && tmp=$RIG32_ROOT/tmp
    printf '%s/%s/server-%x-%x\n' "$tmp" "$(cat "$1/wineserver")" "$(stat -c %d "$1")" \
        "$(stat -c %i "$1")"
}

# Ends every Wine process of the prefix. A plain `wineserver -k` asks them to quit, gives
# them half a second before it kills them, and writes the registry files: only a failed
# run kept for a look (RIG_KEEP_FAILED) needs those. Every other run's prefix is removed
# next, so its processes are killed at once, the server with them (killing only the
# server would leave its programs waiting for it), and its socket folder removed.
rig_end_wine() {
    local rc=$1 socket_dir
    if [ "$rc" -ne 0 ] && [ -n "${RIG_KEEP_FAILED:-}" ]; then
        if [ "$RIG_ARCH" = i686 ]; then
            rig32_run "$RIG_RUN" -- sh -c 'wineserver -k; wineserver -w' >/dev/null 2>&1 || true
        else
            wineserver -k >/dev/null 2>&1 || true
            wineserver -w >/dev/null 2>&1 || true
        fi
        return
    fi
    socket_dir=$(rig_wine_server_folder "$WINEPREFIX")
    rig_kill_prefix_processes "$WINEPREFIX"
    [ -z "$socket_dir" ] || rm -rf "$socket_dir"
}

# Kills the Wine processes of a prefix until none is left: one that was starting
# meanwhile may start a server again.
rig_kill_prefix_processes() {
    local pids round
    for round in 1 2 3 4 5 6 7 8 9 10; do
        pids=$(rig_prefix_processes "$1")
        [ -n "$pids" ] || return 0
        # shellcheck disable=SC2086 # one pid a word
        kill -9 $pids 2>/dev/null || true
    done
    pids=$(rig_prefix_processes "$1")
    [ -z "$pids" ] || echo "rig: processes of $1 outlive the kill: $pids" >&2
}

rig_stop() {
    local rc=$?
    trap - EXIT INT TERM
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        rig_end_wine "$rc"
    fi
    # Drives of their own (rig_drives.sh) go before the run folder that holds them.
    if declare -F rig_unmount_drives >/dev/null; then
        rig_unmount_drives
    fi
    rig_unmount_cd_image
    if [ -n "${RIG_XVFB_PID:-}" ]; then
        kill "$RIG_XVFB_PID" 2>/dev/null || true
        wait "$RIG_XVFB_PID" 2>/dev/null || true
    fi
    if [ -n "${RIG_RUN:-}" ] && [ -d "$RIG_RUN" ]; then
        if [ "$rc" -ne 0 ] && [ -n "${RIG_KEEP_FAILED:-}" ]; then
            echo "rig: kept $RIG_RUN" >&2
        else
            [ -d "$RIG_RUN/cd" ] && chattr -R -i "$RIG_RUN/cd" 2>/dev/null
            chmod -R u+w "$RIG_RUN" 2>/dev/null || true
            rm -rf --one-file-system "$RIG_RUN"
        fi
    fi
    exit "$rc"
}
