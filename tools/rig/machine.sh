# One Wine machine of the rig: how the scenarios, the demo, the Wine tests and the CD
# try-out start a Windows, run its programs and end it. Sourced (bash) by rig.sh, by
# tests/wine/wine-run.sh and, for each function it calls, by tools/trycd/rig.py.
#
# rig_pristine_prefix BUILD
#     the prefix every machine of BUILD (RIG_ARCH=x86_64) or of the 32-bit machine (i686)
#     clones, made once
# rig_machine_start FOLDER PRISTINE
#     makes FOLDER a machine: a clone of PRISTINE in FOLDER/prefix and a display, and
#     exports what its programs run with: WINEPREFIX, DISPLAY, the rig's Wine settings, its
#     locale (RIG_RUN_LOCALE, a run in a language, else the rig's) and the mark
#     LUMORA_RIG_FOLDER=FOLDER, which every process of the machine carries. The display is
#     an Xvfb of the machine's own (RIG_XVFB_PID), or with RIG_USE_DISPLAY=1 and DISPLAY
#     set, the caller's, where a window manager manages Wine's windows.
#     (rig_machine_prefix and rig_machine_environment are its steps without a display.)
# rig_map_drive LETTER DIR       DIR as the machine's drive LETTER:
# rig_readonly_view DIR VIEW     DIR, read-only as a pressed CD, at the new folder VIEW
# rig_run_limited SECONDS DIR... -- COMMAND...
#     runs COMMAND in the machine (its environment exported), killed after SECONDS; on the
#     32-bit machine (RIG_ARCH=i686) DIR... are the host's folders its programs see
# rig_end_programs DIR...        asks the machine's programs to end; Wine writes its
#                                registry files then
# rig_end_machine FOLDER
#     ends everything the machine started, or every machine below FOLDER: its processes
#     (Wine's, the emulator's, its Xvfb), its Wine server's socket folder, and every file
#     system mounted in FOLDER
# rig_remove_run FOLDER          that, and removes FOLDER
# rig_remove_abandoned_runs RUNS that, for every run folder below RUNS whose owner has died

# No Mono or Gecko installer dialogs; and no menu builder, which would turn the shortcuts
# of every run into menu entries and icons in the home folder of the user running it.
RIG_DLL_OVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine takes its Windows code page and language from the locale: every Wine of the rig
# runs in C.UTF-8 (code page 1252), which the C library of every Debian machine carries,
# unless a run is in a language of its own (RIG_RUN_LOCALE, a locale that
# tools/install-deps.sh makes). In the plain C locale of a fresh machine Wine cannot name
# a file "odd Ä"; in a person's own locale the setup would meet another language.
RIG_LOCALE=C.UTF-8

# The environment every Wine of the rig runs with, as NAME=VALUE lines.
rig_wine_environment() {
    printf '%s\n' WINEDEBUG=-all "WINEDLLOVERRIDES=$RIG_DLL_OVERRIDES" "LC_ALL=$RIG_LOCALE"
}
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

rig_machine_start() {
    rig_machine_prefix "$1" "$2"
    rig_machine_environment "$1"
    if [ -n "${RIG_USE_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ]; then
        # A person's desktop has a window manager, which manages Wine's windows there.
        rig_prefix_setting 'Software\Wine\X11 Driver' Managed Y
        return 0
    fi
    rig_display_start "$1"
}

# The machine's prefix: a clone of PRISTINE in FOLDER/prefix, with the folder of its
# server's socket recorded for the machine's end, which does not know its architecture.
rig_machine_prefix() {
    local folder=$1 pristine=$2
    rig_clone_prefix "$pristine" "$folder/prefix"
    rig_wine_server_folder "$folder/prefix" >"$folder/wine-socket-folder"
}

# Exports what the programs of the machine in FOLDER run with, its display aside.
rig_machine_environment() {
    local setting
    export WINEPREFIX="$1/prefix" LUMORA_RIG_FOLDER="$1"
    while IFS= read -r setting; do export "${setting?}"; done < <(rig_wine_environment)
    # The pristine prefix stays in the rig's locale; Wine brings a clone into the run's.
    [ -z "${RIG_RUN_LOCALE:-}" ] || export LC_ALL=$RIG_RUN_LOCALE
}

# Writes a string value into the machine's user registry before Wine first reads it, so
# that no program has to run for it: KEY (below HKEY_CURRENT_USER), NAME, VALUE.
rig_prefix_setting() {
    printf '\n[%s] 0\n"%s"="%s"\n' "${1//\\/\\\\}" "$2" "$3" >>"$WINEPREFIX/user.reg"
}

# Starts an Xvfb of the machine's own on a display it finds free (its log in
# FOLDER/xvfb.log), and exports DISPLAY.
rig_display_start() {
    local folder=$1 display=""
    # Xvfb writes the display number it found free to the descriptor we give it.
    mkfifo "$folder/display.fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$folder/display.fifo" \
        >"$folder/xvfb.log" 2>&1 &
    RIG_XVFB_PID=$!
    read -r -t 20 display <"$folder/display.fifo" || true
    rm -f "$folder/display.fifo"
    if [ -z "$display" ]; then
        echo "rig: Xvfb did not report a display: $(cat "$folder/xvfb.log")" >&2
        return 1
    fi
    export DISPLAY=":$display"
}

rig_map_drive() {
    ln -sfn "$2" "$WINEPREFIX/dosdevices/${1,,}:"
}

# A read-only bind mount where the rig may mount, else a copy without write permission.
rig_readonly_view() {
    local dir=$1 view=$2
    mkdir "$view"
    if mount --bind "$dir" "$view" 2>/dev/null; then
        # Never leave the folder writable below a run folder that is removed with all in it.
        mount -o remount,bind,ro "$view" || { umount "$view"; return 1; }
    else
        cp -a "$dir/." "$view/" && chmod -R a-w "$view"
    fi
}

# Output goes where the caller sends it: better files than a pipe, which a GUI program
# can leave explorer.exe holding open.
rig_run_limited() {
    local seconds=$1
    shift
    if [ "$RIG_ARCH" = i686 ]; then
        timeout --kill-after=5 "$seconds" bash -c '. "$0"; rig32_run "$@"' "$RIG32_SH" "$@"
    else
        while [ $# -gt 0 ] && [ "$1" != -- ]; do shift; done
        shift
        timeout --kill-after=5 "$seconds" "$@"
    fi
}

rig_end_programs() {
    rig_run_limited 20 "$@" -- sh -c 'wineserver -k; wineserver -w' >/dev/null 2>&1 || true
}

# The processes of the machine in FOLDER, or of every machine below it: those whose mark
# names that folder. The listing itself runs without the mark.
rig_machine_processes() {
    local pattern file
    pattern=$(printf '%s' "$1" | sed 's/[][\.*^$+?(){}|]/\\&/g')
    for file in $(env -u LUMORA_RIG_FOLDER grep -lzE "^LUMORA_RIG_FOLDER=$pattern(/.*)?\$" \
        /proc/[0-9]*/environ 2>/dev/null || true); do
        file=${file#/proc/}
        echo "${file%/environ}"
    done
}

# Ends the processes of FOLDER's machines until none is left: one that was starting
# meanwhile may start a server again. Wine's are killed at once (their prefix is removed
# next, or its registry written already), the server with them: killing only the server
# would leave its programs waiting for it. An Xvfb is asked to end first, so that it
# removes its socket and lock file.
rig_end_processes() {
    local folder=$1 pids pid name round
    for ((round = 1; round <= 100; round++)); do
        pids=$(rig_machine_processes "$folder")
        [ -n "$pids" ] || return 0
        for pid in $pids; do
            name=""
            { read -r name <"/proc/$pid/comm"; } 2>/dev/null || true
            if [ "$name" = Xvfb ] && [ "$round" -le 50 ]; then
                kill -TERM "$pid" 2>/dev/null || true
            else
                kill -KILL "$pid" 2>/dev/null || true
            fi
        done
        sleep 0.05
    done
    echo "rig: processes of $folder outlive the kill: ${pids//$'\n'/ }" >&2
}

# Unmounts FOLDER and every file system mounted below it, the deepest first.
rig_unmount_in() {
    local mount
    # /proc/mounts writes a space in a path as \040.
    awk -v folder="${1// /\\040}" '$2 == folder || index($2, folder "/") == 1 { print $2 }' \
        /proc/mounts | sort -r | while IFS= read -r mount; do
        mount=$(printf '%b' "$mount")
        umount "$mount" 2>/dev/null || fusermount -uz "$mount" 2>/dev/null ||
            umount -l "$mount" 2>/dev/null || echo "rig: cannot unmount $mount" >&2
    done
}

rig_end_machine() {
    local folder=$1 record socket_dir
    rig_end_processes "$folder"
    for record in "$folder/wine-socket-folder" "$folder"/*/wine-socket-folder; do
        socket_dir=$(cat "$record" 2>/dev/null) || continue
        [ -z "$socket_dir" ] || rm -rf "$socket_dir"
    done
    rig_unmount_in "$folder"
}

rig_remove_run() {
    rig_end_machine "$1"
    # The sample CD's files are immutable, as pressed (make-sample-cd.sh).
    chattr -R -i "$1/cd" 2>/dev/null || true
    chmod -R u+w "$1" 2>/dev/null || true
    rm -rf --one-file-system "$1"
}

# A run killed outright (SIGKILL) leaves its folder behind, with its processes, which
# would wait for ever for a server in a prefix that is gone; the next run ends them and
# removes it. A folder without an owner file is still being set up by a run that has
# just started.
rig_remove_abandoned_runs() {
    local run owner
    for run in "$1"/*; do
        # A run that ends meanwhile removes its own folder: not an error.
        owner=$(cat "$run/owner" 2>/dev/null) || continue
        kill -0 "$owner" 2>/dev/null && continue
        rig_remove_run "$run"
    done
}
