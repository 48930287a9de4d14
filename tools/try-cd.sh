#!/bin/bash
# Tries a CD before it is pressed: runs its setup from drive D: (of type CD-ROM) in a
# fresh Wine prefix, answers every window as a user who accepts what is offered (or as
# the options say), saves a picture of each window and reports what the run did.
#
# usage: tools/try-cd.sh CD_FOLDER_OR_IMAGE [options]
#   CD_FOLDER_OR_IMAGE      the CD's folder, or its ISO 9660 image (mounted read-only)
#   --destination PATH      type PATH into the destination field
#   --icon-only yes|no      tick or clear "Setup Icon Only" (client CDs)
#   --platforms LIST        tick these platforms in the publisher's dialog, comma-separated:
#                           solaris sunos aix hpux mac irix alphaosf
#   --browser ROW           choose row ROW (1 to 11) of the browser dialog
#   --browser-path PATH     choose the last row of the browser dialog, with PATH typed
#   --agreement yes|no      the answer to the licence agreement (default yes)
#   --second-run yes|no     run the setup once more; it finds the installation and asks
#                           whether to reinstall: the answer
#   --pictures DIR          where the pictures go (default ./try-cd-pictures)
#   --build DIR             the build folder with the GUI driver (default build/mingw64)
#   --timeout SECONDS       how long one run of the setup may take (default 300)
# Without DISPLAY (or with TRY_HEADLESS=1) the windows appear on a private Xvfb and the
# driver answers; with DISPLAY set they appear there and the person at the screen answers.
# Exit status: 0 the run ended with the installed program started; 1 it ended early (the
# report says where and with which message); 2 the CD could not be tried; 64 usage error.
[ -n "${BASH_VERSION:-}" ] || exec bash "$0" "$@"
set -euo pipefail

root=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)

usage() {
    sed -n '6,23p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 64
}
cannot_try() {
    echo "try-cd: $*" >&2
    exit 2
}

cd_input=""
destination=""
icon_only=""
platforms=""
browser_row=""
browser_path=""
agreement=yes
second_run=""
pictures=$PWD/try-cd-pictures
build=$root/build/mingw64
timeout_s=300
yes_no() { [ "$2" = yes ] || [ "$2" = no ] || { echo "try-cd: $1 takes yes or no" >&2; usage; }; }
while [ $# -gt 0 ]; do
    case "$1" in
    --destination | --icon-only | --platforms | --browser | --browser-path | --agreement | \
        --second-run | --pictures | --build | --timeout)
        [ $# -ge 2 ] || { echo "try-cd: $1 needs a value" >&2; usage; } ;;&
    --destination) destination=$2; shift 2 ;;
    --icon-only) yes_no "$1" "$2"; icon_only=$2; shift 2 ;;
    --platforms) platforms=$2; shift 2 ;;
    --browser) browser_row=$2; shift 2 ;;
    --browser-path) browser_path=$2; shift 2 ;;
    --agreement) yes_no "$1" "$2"; agreement=$2; shift 2 ;;
    --second-run) yes_no "$1" "$2"; second_run=$2; shift 2 ;;
    --pictures) pictures=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    -h | --help) usage ;;
    -*) echo "try-cd: unknown option $1" >&2; usage ;;
    *) [ -z "$cd_input" ] || usage; cd_input=$1; shift ;;
    esac
done
[ -n "$cd_input" ] || usage
case "$timeout_s" in '' | *[!0-9]*) echo "try-cd: --timeout takes seconds" >&2; usage ;; esac
# The driver's replies are separated by ";".
case "$destination$browser_path" in *';'*) echo "try-cd: a path with ';' cannot be typed" >&2; usage ;; esac
case "$browser_row" in '' | [1-9] | 10 | 11) ;; *) echo "try-cd: --browser takes 1 to 11" >&2; usage ;; esac

# Check boxes of the destination dialogs and the browser dialog (resources/resource.h).
declare -A platform_box=([solaris]=1019 [sunos]=1020 [aix]=1021 [hpux]=1022 [mac]=1023
    [irix]=1025 [alphaosf]=1041)
# The box first: clearing "Setup Icon Only" enables the destination field.
destination_actions=""
[ "$icon_only" = yes ] && destination_actions+="check 1026 1;"
[ "$icon_only" = no ] && destination_actions+="check 1026 0;"
[ -n "$destination" ] && destination_actions+="set 1012 $destination;"
for platform in ${platforms//,/ }; do
    box=${platform_box[${platform,,}]:-}
    [ -n "$box" ] || { echo "try-cd: unknown platform $platform" >&2; usage; }
    destination_actions+="check $box 1;"
done
browser_actions=""
# Rows by their place among those the dialog shows; "Other Browser" is the last one.
[ -n "$browser_row" ] && browser_actions="row $browser_row;"
[ -n "$browser_path" ] && browser_actions="row last;set 1040 $browser_path;"

[ -e "$cd_input" ] || cannot_try "$cd_input: no such file or folder"
cd_input=$(cd "$(dirname "$cd_input")" && pwd)/$(basename "$cd_input")
[ -d "$build" ] || cannot_try "$build: no build folder (make demo or cmake --build --preset mingw64 builds one)"
build=$(cd "$build" && pwd)
guidriver="$build/tools/guidriver/guidriver.exe"
[ -f "$guidriver" ] || cannot_try "$guidriver is not built (cmake --build --preset mingw64 --target guidriver)"
for tool in wine wineserver Xvfb convert; do
    command -v "$tool" >/dev/null || cannot_try "$tool is missing (tools/install-deps.sh installs it)"
done

# shellcheck source=rig/rig.sh
. "$root/tools/rig/rig.sh"
# shellcheck source=rig/rig_drives.sh
. "$root/tools/rig/rig_drives.sh"
visible=0
if [ -n "${DISPLAY:-}" ] && [ -z "${TRY_HEADLESS:-}" ]; then
    visible=1
    # shellcheck disable=SC2034 # read by rig_start
    RIG_USE_DISPLAY=1
fi
rig_start "$build" try-cd || cannot_try "the Wine rig did not start"
# Wine's menu builder would copy the Start menu's shortcuts to the host's desktop menus.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
mkdir -p "$pictures"
pictures=$(cd "$pictures" && pwd)

say() { printf '\n== %s\n' "$*"; }
wine_to() { rig_wine "$RIG_RUN/$1.out" "$RIG_RUN/$1.err" "${@:2}"; }

say "CD"
if [ -d "$cd_input" ]; then
    echo "  folder $cd_input, read-only as drive D: (CD-ROM)"
    rig_map_cd_readonly "$cd_input" || cannot_try "$cd_input could not be mapped read-only"
else
    # shellcheck disable=SC2034 # read by rig_map_cd
    RIG_CD_IMAGE=$cd_input
    rig_map_cd "$cd_input" || exit 2
    label=$(dd if="$cd_input" bs=1 skip=32808 count=32 2>/dev/null | tr -d '\0' | sed 's/ *$//')
    echo "  image $cd_input (volume \"$label\"), mounted read-only as drive D: (CD-ROM)"
fi
cd_root="$WINEPREFIX/dosdevices/d:"
# Names on the CD compare without regard to case, as Windows compares them.
cd_file() {
    local found
    found=$(cd "$cd_root" && find -L . -maxdepth 3 -ipath "./$1" -type f 2>/dev/null | sed -n 1p)
    [ -z "$found" ] || echo "$cd_root/${found#./}"
}
setup_host=$(cd_file '_red40/bin/setup.exe')
[ -n "$setup_host" ] || cannot_try "the CD has no _red40\\bin\\setup.exe: there is no setup to try"
setup_dir=$(dirname "${setup_host#"$cd_root"}")
setup_dir="D:${setup_dir//\//\\}"
ini_value() {
    local file
    file=$(cd_file "$1")
    [ -n "$file" ] || return 0
    awk -F '=' -v key="$2" '{ k = $1; gsub(/^[ \t]+|[ \t\r]+$/, "", k) }
        tolower(k) == tolower(key) { v = substr($0, index($0, "=") + 1); gsub(/^[ \t]+|[ \t\r]+$/, "", v); print v; exit }' "$file"
}
echo "  setup $setup_dir\\setup.exe; search.ini: environment \"$(ini_value search.ini CurrentEnv)\"," \
    "group \"$(ini_value search.ini ApplicationGroup)\", name \"$(ini_value search.ini ApplicationName)\""

# Unmanaged windows on the private display: Wine draws frame and caption, as Windows
# would, and hides a window at once instead of waiting for a window manager.
# On a person's own display the desktop's window manager manages them.
managed=N
[ "$visible" = 1 ] && managed=Y
wine_to reg reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$managed" /f || true

# The registry as text, for what a run changed.
export_registry() {
    local key
    : >"$RIG_RUN/$1.reg"
    for key in HKCU 'HKLM\Software'; do
        wine_to reg reg export "$key" 'C:\registry.reg' /y || true
        iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/registry.reg" 2>/dev/null | tr -d '\r' |
            grep -v '^"\?Time' >>"$RIG_RUN/$1.reg" || true
        rm -f "$WINEPREFIX/drive_c/registry.reg"
    done
}

# Registry values that a run added or changed, below their keys.
show_registry_changes() {
    local changes
    changes=$(awk 'FNR == NR { if (/^\[/) key = $0; else if (/=/) seen[key SUBSEP $0] = 1; next }
         /^\[/ { key = $0; next }
         /=/ && !((key SUBSEP $0) in seen) { if (key != shown) { print "  " key; shown = key }
                                              print "    " $0 }' \
        "$RIG_RUN/$1.reg" "$RIG_RUN/$2.reg")
    if [ -n "$changes" ]; then
        echo "$changes" | sed 's/^/ /'
    else
        echo "    (none)"
    fi
}

# Files copied or written on drive C: during a run, by folder; the settings files that
# were written (a copy keeps its source's time of change, a written file does not) and
# the shortcuts, read by lnkinfo.
show_files() {
    local stamp=$1 found
    found=$(cd "$WINEPREFIX/drive_c" && find . -type f -links 1 -cnewer "$stamp" ! -name registry.reg \
        ! -path './windows/system32/*' ! -path './windows/syswow64/*' | sed 's|^\./||' | sort)
    if [ -z "$found" ]; then
        echo "  no file was copied or written on drive C:"
        return
    fi
    echo "  files on drive C: ($(echo "$found" | wc -l) in all), by folder:"
    echo "$found" | awk '{ d = $0; if (!sub(/\/[^\/]*$/, "", d)) d = $0; print d }' | sort | uniq -c |
        while read -r count dir; do
            printf '    %5d  C:\\%s\n' "$count" "${dir//\//\\}"
        done
    local ini link
    while read -r ini; do
        [ "$WINEPREFIX/drive_c/$ini" -nt "$stamp" ] || continue
        echo "  settings written, C:\\${ini//\//\\}:"
        tr -d '\r' <"$WINEPREFIX/drive_c/$ini" | sed '/^$/d; s/^/    /'
    done < <(echo "$found" | grep -i '\.ini$' || true)
    while read -r link; do
        echo "  shortcut C:\\${link//\//\\} (lnkinfo):"
        lnkinfo "$WINEPREFIX/drive_c/$link" 2>/dev/null |
            grep -E 'Local path|Working directory|Command line arguments|Description|Icon location' |
            sed 's/^[[:space:]]*/    /; s/[[:space:]]*:[[:space:]]*/: /' || true
    done < <(echo "$found" | grep -i '\.lnk$' || true)
}

# One run of the setup; the driver's report is in $RIG_RUN/runN.out.
status=0
run_setup() {
    local run=$1 replies=()
    mkdir -p "$RIG_RUN/$run"
    if [ "$visible" = 1 ]; then
        echo "  answer the setup's questions on your display ($DISPLAY)"
    else
        [ -n "${reinstall_reply:-}" ] && replies+=("$reinstall_reply")
        replies+=("Please specify a directory=${destination_actions}default")
        replies+=("License Agreement=$([ "$agreement" = yes ] && echo 1 || echo 2)")
        replies+=("Please Choose a Browser=${browser_actions}default")
        replies+=("*=default")
    fi
    local code=0
    RIG_WINE_TIMEOUT=$((timeout_s + 60)) wine_to "$run" "$guidriver" try "$setup_dir" \
        "$((timeout_s * 1000))" "$setup_dir\\setup.exe" "$(winepath -w "$RIG_RUN/$run")" \
        search.exe "${replies[@]+"${replies[@]}"}" || code=$?
    tr -d '\r' <"$RIG_RUN/$run.out" >"$RIG_RUN/$run.txt"
    # Pictures: NN.bmp of the run becomes runN-NN.png beside the others.
    local bmp
    for bmp in "$RIG_RUN/$run"/*.bmp; do
        [ -e "$bmp" ] || continue
        convert "$bmp" "$pictures/$run-$(basename "$bmp" .bmp).png"
    done
    sed -E "s|^  picture ([0-9]+)\\.bmp$|  picture $pictures/$run-\\1.png|; s/^/  /" "$RIG_RUN/$run.txt"
    [ -s "$RIG_RUN/$run.err" ] && sed 's/^/  driver: /' "$RIG_RUN/$run.err"
    return "$code"
}

# How the run ended: the installed program started, or where it stopped.
judge_run() {
    local run=$1 code=$2 last
    if grep -q '^program .*: \(running\|ended\)$' "$RIG_RUN/$run.txt"; then
        echo "  the run ended cleanly and started" \
            "$(grep '^program ' "$RIG_RUN/$run.txt" | sed -E 's/^program ([0-9]+) (.*): [a-z]+$/\2 (process \1)/')"
        return 0
    fi
    if [ "$code" -eq 2 ] || grep -q '^cannot start' "$RIG_RUN/$run.txt"; then
        echo "  the setup could not be started: $(grep '^cannot start' "$RIG_RUN/$run.txt")"
        return 2
    fi
    last=$(grep -n '^window ' "$RIG_RUN/$run.txt" | tail -n 1 | cut -d: -f1)
    if [ -n "$last" ]; then
        echo "  the run ended early, at the last window it showed:"
        sed -n "${last}p" "$RIG_RUN/$run.txt" | sed 's/ process [0-9]*.*//; s/^/    /'
        sed -n "$((last + 1)),\$p" "$RIG_RUN/$run.txt" | grep '^  message:' | head -n 1 | sed 's/^/  /' || true
    else
        echo "  the run ended early, without a window"
    fi
    grep -E '^it (ended with|did not end)' "$RIG_RUN/$run.txt" | sed 's/^it/  the setup/' || true
    return 1
}

end_program() {
    local ids
    ids=$(grep '^program [0-9]*.*: running$' "$RIG_RUN/$1.txt" | awk '{ print $2 }' || true)
    [ -n "$ids" ] || return 0
    # shellcheck disable=SC2086
    wine_to end "$guidriver" end $ids || true
    tr -d '\r' <"$RIG_RUN/end.out" | sed 's/^/  /'
}

one_run() {
    local run=$1 title=$2 code=0 verdict=0
    say "$title"
    touch "$RIG_RUN/$run.stamp"
    export_registry "$run-before"
    run_setup "$run" || code=$?
    say "$title: what it left"
    show_files "$RIG_RUN/$run.stamp"
    export_registry "$run-after"
    echo "  registry values written:"
    show_registry_changes "$run-before" "$run-after"
    say "$title: the end"
    judge_run "$run" "$code" || verdict=$?
    end_program "$run"
    [ "$verdict" -gt "$status" ] && status=$verdict
    return 0
}

start_time=$(date +%s)
one_run run1 "Run 1: a machine without an earlier installation"
if [ -n "$second_run" ]; then
    # The reinstall question is the only window with Yes (6) and No (7); its caption is
    # the application's name, or empty.
    reinstall_reply="*=$([ "$second_run" = yes ] && echo 6 || echo 7)"
    one_run run2 "Run 2: the earlier installation is found; reinstall: $second_run"
fi
say "Summary"
case "$status" in
0) echo "  every run ended with the installed program started" ;;
1) echo "  a run ended early (see its end above)" ;;
*) echo "  the setup could not be tried" ;;
esac
echo "  pictures: $pictures"
echo "  tried in $(($(date +%s) - start_time)) s"
exit "$status"
