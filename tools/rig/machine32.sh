# The rig's 32-bit machine, sourced by machine.sh. This machine's kernel runs no 32-bit
# code, so the i686 programs run under CPU emulation: an i386 Debian 12 root with Wine, whose i386
# ELF files the kernel hands to qemu-user's qemu-i386 (bookworm-backports; bookworm's own
# 7.2 crashes Wine) through a binfmt_misc entry of our own. The Wine server is the host's
# native wineserver64 put into the root: an emulated server fails as soon as a process is
# debugged (qemu-user has no ptrace), and the GUI driver debugs the setup.
#
# rig32_make        makes the root and its pristine prefix once (about 11 minutes), cached
#                   in $LUMORA_CACHE (default ~/.cache/lumora-setup), and registers the
#                   binfmt entry
# rig32_run DIR... -- COMMAND...
#                   runs COMMAND in the root with DIR... (the run's folder, the programs'
#                   folders) at their own paths, and the run's WINE*, DISPLAY and LC_ALL
# Needs root: debootstrap, chroot, mounts and binfmt_misc. Every run is in a mount
# namespace of its own, so its mounts end with its last process (the Wine server's).

RIG32_SH=${BASH_SOURCE[0]}
# The machine runs as root: root's home where HOME is unset.
RIG32_HOME=${LUMORA_CACHE:-${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/lumora-setup}/machine32
RIG32_ROOT=$RIG32_HOME/root
# The prefix every 32-bit run clones.
RIG32_PRISTINE=$RIG32_HOME/pristine-prefix
RIG32_QEMU=/usr/bin/qemu-i386
# Our own name for the entry: another entry for i386 ELF (such as qemu-user-binfmt's,
# with bookworm's qemu) is left alone, and ours, registered later, is matched first.
RIG32_BINFMT=lumora-setup-i386

rig32_mirror() {
    sh "$(dirname "${BASH_SOURCE[0]}")/../install-deps.sh" --mirror
}

# The entry hands i386 ELF executables (class 32-bit, machine EM_386) to qemu-i386. With
# the F flag the kernel opens the emulator now, so it runs inside the root too.
rig32_register_binfmt() {
    local dir=/proc/sys/fs/binfmt_misc
    [ -e "$dir/$RIG32_BINFMT" ] && return 0
    mountpoint -q "$dir" || mount -t binfmt_misc binfmt_misc "$dir"
    local version
    version=$("$RIG32_QEMU" --version 2>/dev/null | sed -n '1s/^qemu-i386 version \([0-9]*\).*/\1/p')
    if [ "${version:-0}" -lt 10 ]; then
        echo "rig: the 32-bit machine needs qemu-i386 10 or later (bookworm's 7.2 cannot run Wine):" \
            "apt-get install -t bookworm-backports qemu-user" >&2
        return 1
    fi
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf ':%s:M::%s:%s:%s:FOCP' "$RIG32_BINFMT" "$magic" "$mask" "$RIG32_QEMU" >"$dir/register" 2>/dev/null ||
        [ -e "$dir/$RIG32_BINFMT" ] # another run registered it meanwhile
}

# The root's mounts, made in the caller's (private) mount namespace: what Wine needs of
# the system, the X server's socket folder and the folders a run shares with the host.
rig32_mount() {
    local dir
    mount -t proc proc "$RIG32_ROOT/proc"
    mount --rbind /dev "$RIG32_ROOT/dev"
    mount --rbind /sys "$RIG32_ROOT/sys"
    mkdir -p /tmp/.X11-unix "$RIG32_ROOT/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$RIG32_ROOT/tmp/.X11-unix"
    for dir in "$@"; do
        mkdir -p "$RIG32_ROOT$dir"
        mount --rbind "$dir" "$RIG32_ROOT$dir"
    done
}

rig32_run() {
    local dirs=() name
    while [ $# -gt 0 ] && [ "$1" != -- ]; do dirs+=("$(cd "$1" && pwd)"); shift; done
    shift
    # A clean environment, with the run's Wine settings.
    local environment=(PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb WINEARCH=win32)
    # LUMORA_RIG_FOLDER: the mark by which the rig finds the machine's processes.
    for name in WINEPREFIX WINEDEBUG WINEDLLOVERRIDES DISPLAY LC_ALL LUMORA_RIG_FOLDER; do
        [ -n "${!name:-}" ] && environment+=("$name=${!name}")
    done
    rig32_register_binfmt || return 1
    unshare --mount --propagation private --fork --kill-child bash -c '
        . "$1"; shift; n=$1; shift
        rig32_mount "${@:1:$n}"; shift "$n"
        exec chroot "$RIG32_ROOT" /usr/bin/env -i "$@"' \
        rig32 "$RIG32_SH" "${#dirs[@]}" "${dirs[@]}" "${environment[@]}" "$@"
}

# "yes" where this host's own Wine runs 32-bit programs (Debian's wine32 on a kernel that
# runs 32-bit code), so that no emulation is needed; else "no".
rig32_native() {
    if [ -x /usr/lib/wine/wine ] && [ ! -e "/proc/sys/fs/binfmt_misc/$RIG32_BINFMT" ] &&
        /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo yes
    else
        echo no
    fi
}

# What the root is made from; a root made otherwise is made again.
rig32_recipe() {
    printf 'bookworm i386 minbase %s\n' "$(rig32_mirror)"
    # Its packages and locales: the rows of the table's i386-root set.
    awk '!/^[ \t]*#/ && $2 ~ /(^|,)i386-root(,|$)/ { print $1 }' "$(dirname "${BASH_SOURCE[0]}")/../system-needs.txt"
    "$RIG32_QEMU" --version | head -1
    dpkg-query -W -f='${Version}\n' wine64
}

rig32_ready() {
    [ -f "$RIG32_HOME/recipe" ] && [ "$(cat "$RIG32_HOME/recipe")" = "$(rig32_recipe)" ]
}

rig32_make() {
    mkdir -p "$RIG32_HOME"
    rig32_register_binfmt || return 1
    flock "$RIG32_HOME/lock" bash -c '. "$1"; rig32_ready || rig32_make_now' rig32 "$RIG32_SH"
}

rig32_make_now() {
    local started log=$RIG32_HOME/make.log tools
    started=$(date +%s)
    tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    echo "rig: making the 32-bit machine in $RIG32_HOME (once; about 10 minutes)" >&2
    rm -rf "$RIG32_HOME/recipe" "$RIG32_ROOT" "$RIG32_PRISTINE"
    {
        debootstrap --arch=i386 --variant=minbase --foreign bookworm "$RIG32_ROOT" "$(rig32_mirror)" &&
            rig32_run -- /debootstrap/debootstrap --second-stage &&
            cp /etc/resolv.conf "$RIG32_ROOT/etc/resolv.conf" &&
            # The packages of the root come from the table of what the project needs.
            mkdir -p "$RIG32_ROOT/var/lib/lumora-setup/tools" &&
            cp "$tools/install-deps.sh" "$tools/system-needs.txt" "$RIG32_ROOT/var/lib/lumora-setup/tools/" &&
            rig32_run -- sh /var/lib/lumora-setup/tools/install-deps.sh i386-root &&
            rm -rf "$RIG32_ROOT/var/cache/apt/archives/"*.deb &&
            # Debian's wineserver script prefers wineserver64: the host's, with its loader and C library.
            mkdir -p "$RIG32_ROOT/lib64" "$RIG32_ROOT/lib/x86_64-linux-gnu" &&
            cp -L /lib64/ld-linux-x86-64.so.2 "$RIG32_ROOT/lib64/" &&
            cp -L /lib/x86_64-linux-gnu/libc.so.6 "$RIG32_ROOT/lib/x86_64-linux-gnu/" &&
            cp /usr/lib/wine/wineserver64 "$RIG32_ROOT/usr/lib/wine/wineserver64"
    } >"$log" 2>&1 || { tail -20 "$log" >&2; echo "rig: making the 32-bit machine failed (log: $log)" >&2; return 1; }
    rig32_recipe >"$RIG32_HOME/recipe"
    echo "rig: 32-bit machine made in $(($(date +%s) - started)) s" >&2
}
