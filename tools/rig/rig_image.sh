# A pressed CD image as the rig's drive D:, sourced by rig.sh.
#
# rig_mount_cd_image IMAGE mounts IMAGE read-only through FUSE (fuseiso) below the run
# folder and makes the mount point drive D: (of type CD-ROM in every prefix of the rig).
# The files reach Wine read-only, as from a pressed CD; fuseiso shows the image's Rock
# Ridge names. rig_stop unmounts it with the run's other mounts, once the machine's
# processes have ended: Wine keeps files of the CD open until then.
# Returns 2 with a message on stderr when the image cannot be mounted.

# Says why IMAGE cannot be mounted, or nothing when it looks like an ISO 9660 image.
rig_image_problem() {
    local image=$1
    if [ ! -f "$image" ]; then
        echo "$image: no such file"
    elif [ ! -r "$image" ]; then
        echo "$image: cannot be read"
    # The first volume descriptor of an ISO 9660 image is at byte 32768 and carries
    # "CD001" after its type byte.
    elif [ "$(dd if="$image" bs=1 skip=32769 count=5 2>/dev/null)" != CD001 ]; then
        echo "$image: not an ISO 9660 image (no volume descriptor at byte 32768)"
    elif [ "$(stat -c %s "$image")" -lt "$(rig_image_volume_bytes "$image")" ]; then
        echo "$image: damaged: $(stat -c %s "$image") bytes where its volume descriptor" \
            "counts $(rig_image_volume_bytes "$image") (a copy cut short?)"
    elif ! command -v fuseiso >/dev/null || ! command -v fusermount >/dev/null; then
        echo "fuseiso or fusermount is missing (tools/install-deps.sh installs fuseiso)"
    elif [ ! -c /dev/fuse ] || [ ! -r /dev/fuse ] || [ ! -w /dev/fuse ]; then
        echo "FUSE is not usable here: /dev/fuse is missing or not open to $(id -un)"
    fi
}

# The size of the volume as its primary descriptor records it: the number of blocks
# (bytes 80-83, little-endian) times the block size (bytes 128-129).
rig_image_volume_bytes() {
    local blocks size
    blocks=$(od -An -t u4 -j $((32768 + 80)) -N 4 "$1" | tr -d ' ')
    size=$(od -An -t u2 -j $((32768 + 128)) -N 2 "$1" | tr -d ' ')
    echo $((${blocks:-0} * ${size:-0}))
}

rig_mount_cd_image() {
    local image=$1 mount_point="$RIG_RUN/cd-image" problem
    problem=$(rig_image_problem "$image")
    if [ -n "$problem" ]; then
        echo "rig: $problem" >&2
        return 2
    fi
    if mountpoint -q "$mount_point" 2>/dev/null; then
        echo "rig: $mount_point is in use by another mount; unmount it first" >&2
        return 2
    fi
    mkdir -p "$mount_point"
    # -n: no record in the user's home. fuseiso checks the volume descriptors only, so a
    # damaged image shows up as an unreadable folder: its root is listed once here.
    if ! fuseiso -n "$image" "$mount_point" >"$RIG_RUN/fuseiso.log" 2>&1; then
        echo "rig: fuseiso cannot mount $image: $(tr '\n' ' ' <"$RIG_RUN/fuseiso.log")" >&2
        return 2
    fi
    if ! ls "$mount_point" >/dev/null 2>&1; then
        echo "rig: $image is damaged: its root folder cannot be read" >&2
        rig_unmount_in "$mount_point"
        return 2
    fi
    rig_map_drive D "$mount_point"
}
