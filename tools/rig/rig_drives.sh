# Drives of their own for the end-to-end rig, sourced by run-scenario.sh after rig.sh.
#
# rig_drive_options ARGS... takes the drive options out of a scenario's options, makes
# the drives in the running rig's prefix, and leaves the other options in RIG_CD_OPTIONS:
#   --drive-folder L        an empty writable folder as drive L:
#   --drive-tmpfs L SIZE    a tmpfs of SIZE (mount's size=, e.g. 30m) as drive L:, so the
#                           free space the setup sees is small and known
#   --drive-readonly L      a small read-only file system holding only the empty folder
#                           "existing", as drive L:
#   --image                 the CD is pressed as an image, which rig_map_cd mounts as D:
#                           (rig_image.sh) instead of mapping the CD's folder
# Every mount is in the run folder: rig_stop unmounts it after the machine's processes
# have ended.

rig_mount_tmpfs() {
    local dir=$1 size=$2
    mkdir -p "$dir"
    mount -t tmpfs -o "size=$size,mode=0777" rig-drive "$dir"
}

rig_drive_options() {
    RIG_CD_OPTIONS=()
    while [ $# -gt 0 ]; do
        case "$1" in
        --drive-folder)
            mkdir -p "$RIG_RUN/drive-$2"
            rig_map_drive "$2" "$RIG_RUN/drive-$2"
            shift 2 ;;
        --drive-tmpfs)
            rig_mount_tmpfs "$RIG_RUN/drive-$2" "$3"
            rig_map_drive "$2" "$RIG_RUN/drive-$2"
            shift 3 ;;
        --drive-readonly)
            rig_mount_tmpfs "$RIG_RUN/drive-$2" 64m
            mkdir "$RIG_RUN/drive-$2/existing"
            mount -o remount,ro "$RIG_RUN/drive-$2"
            rig_map_drive "$2" "$RIG_RUN/drive-$2"
            shift 2 ;;
        --image)
            RIG_CD_IMAGE="$RIG_RUN/cd.iso"
            RIG_CD_OPTIONS+=(--image "$RIG_CD_IMAGE")
            shift ;;
        *)
            RIG_CD_OPTIONS+=("$1")
            shift ;;
        esac
    done
}
