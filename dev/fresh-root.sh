#!/bin/bash
# Runs one of the README's set-up commands as a newcomer would: on a fresh minimal Debian 12
# machine that has nothing but git and make. The machine is a root folder made by
# debootstrap (variant minbase, the base of Debian's container images), made once and
# kept in a cache outside the clone, then copied fresh for every run. The repository's
# HEAD is cloned into the copy and the command runs there as root, so every package it
# needs comes from its own tools/install-deps.sh, fetched inside the root.
#
# usage: dev/fresh-root.sh [--keep] COMMAND...       e.g. dev/fresh-root.sh make demo
#   --keep   leave the run's copy of the root behind (its path is printed)
# Needs root (debootstrap, chroot, mounts). The run is in mount and PID namespaces of its
# own: its mounts never show outside it, and every process it started (Wine, Xvfb) ends
# with it. The exit status is the command's.
#   FRESH_ROOT_CACHE   the cache folder (default /var/cache/lumora-setup/fresh-root)
#   FRESH_ROOT_WORK    where the run's copy is made (default /var/tmp)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
keep=""
if [ "${1:-}" = --keep ]; then
    keep=1
    shift
fi
[ $# -gt 0 ] || { sed -n '9,10s/^# //p' "$0" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "fresh-root: must run as root (debootstrap, chroot, mounts)" >&2; exit 2; }

sh "$repo/tools/install-deps.sh" fresh-root

# The Debian mirror this machine's own apt uses, so the root fetches from where the host can.
mirror=$(sh "$repo/tools/install-deps.sh" --mirror)
security_mirror=${mirror%/debian}/debian-security

cache=${FRESH_ROOT_CACHE:-/var/cache/lumora-setup/fresh-root}
# What the cached root was made from; a root made otherwise is made again.
recipe="bookworm minbase git,make $mirror"
seconds() { echo $(($(date +%s) - $1)); }

make_root() {
    local new="$cache/root.new" started
    started=$(date +%s)
    echo "fresh-root: making a minimal Debian 12 root in $cache (once; some minutes)"
    rm -rf "$new"
    mkdir -p "$cache"
    debootstrap --variant=minbase --include=git,make bookworm "$new" "$mirror" \
        >"$cache/debootstrap.log" 2>&1 ||
        { tail -20 "$cache/debootstrap.log" >&2; echo "fresh-root: debootstrap failed" >&2; exit 1; }
    cat >"$new/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security_mirror bookworm-security main
EOF
    # As a new machine is: no package lists and no downloaded packages yet.
    rm -rf "$new/var/lib/apt/lists/"* "$new/var/cache/apt/archives/"*.deb
    rm -rf "$cache/root"
    mv "$new" "$cache/root"
    echo "$recipe" >"$cache/recipe"
    echo "fresh-root: root made in $(seconds "$started") s"
}

[ -d "$cache/root" ] && [ "$(cat "$cache/recipe" 2>/dev/null)" = "$recipe" ] || make_root

work=$(mktemp -d "${FRESH_ROOT_WORK:-/var/tmp}/lumora-fresh-root.XXXXXX")
cleanup() {
    # The namespaces are gone by now, and their mounts with them: only plain files remain.
    if [ -n "$keep" ]; then
        echo "fresh-root: the run's root is kept in $work/root"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT

cp -a "$cache/root" "$work/root"
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
    echo "fresh-root: note: uncommitted changes in $repo are not in the run (it clones HEAD)" >&2
fi
git clone --quiet --no-hardlinks "$repo" "$work/root/root/lumora-setup"
cp /etc/resolv.conf "$work/root/etc/resolv.conf"

echo "fresh-root: $* in a fresh root, at $(git -C "$repo" rev-parse --short HEAD)"
started=$(date +%s)
status=0
# A new mount namespace keeps the root's mounts private; a new PID namespace ends every
# process of the run when the command ends. /dev is the host's (FUSE, pseudo-terminals),
# with a shared-memory folder of the run's own.
unshare --mount --propagation private --pid --fork --kill-child bash -c '
    set -e
    root=$1
    shift
    mount -t proc proc "$root/proc"
    mount -t sysfs sysfs "$root/sys"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
    exec chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" ${CI:+CI=$CI} \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c "cd /root/lumora-setup && exec \"\$@\"" command "$@"
' fresh-root "$work/root" "$@" &
run=$!
# Ended from outside, the run ends at once. unshare ignores SIGINT and SIGTERM while its
# child runs; killed, it takes the namespace's first process with it, and so every other.
trap 'kill -KILL "$run" 2>/dev/null; wait "$run" 2>/dev/null; exit 130' INT TERM HUP
wait "$run" || status=$?
echo "fresh-root: $* ended with status $status after $(seconds "$started") s"
exit "$status"
