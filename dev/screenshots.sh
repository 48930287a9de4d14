#!/bin/bash
# Captures every window the setup shows, for the README, so the pictures follow the
# program: dev/screenshots.sh [BUILD_DIR] [OUT_DIR]
# (default build/mingw64 and docs/screenshots). Runs the setup on sample CDs in a fresh
# Wine prefix on a private Xvfb (the end-to-end rig), reaches each window with the GUI
# driver and saves it as an 8-bit PNG. Wine draws the window frames itself here (no
# window manager), so a capture shows the caption as a user sees it.
[ -n "${BASH_VERSION:-}" ] || exec bash "$0" "$@"
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/mingw64}
out=${2:-$root/docs/screenshots}
build=$(cd "$build" && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)
# shellcheck source=../tools/rig/rig.sh
. "$root/tools/rig/rig.sh"
# shellcheck source=../tools/rig/rig_drives.sh
. "$root/tools/rig/rig_drives.sh"
rig_start "$build" screenshots
guidriver="$build/tools/guidriver/guidriver.exe"
[ -f "$guidriver" ] || { echo "screenshots: $guidriver is not built" >&2; exit 1; }

common='IS\SearchApp\Common'
setup_exe='D:\_red40\bin\setup.exe'

driver() { rig_wine "$RIG_RUN/driver.out" "$RIG_RUN/driver.err" "$guidriver" "$@"; }
reg_add() { rig_wine "$RIG_RUN/reg.out" "$RIG_RUN/reg.err" reg add "$@" /f; }

# Writable first, then read-only by hand: an immutable tree (what the CD builder makes
# when run as root) would outlive the run.
make_cd() {
    local dir="$RIG_RUN/cd-$1"
    shift
    "$root/dev/make-sample-cd.sh" --writable "$@" "$build" "$dir" >/dev/null
    chmod -R a-w "$dir"
    rig_map_cd "$dir"
}

# Starts the setup in the background; the driver answers nothing by itself.
start_setup() {
    rig_wine "$RIG_RUN/setup.out" "$RIG_RUN/setup.err" "$guidriver" run 'D:\_red40\bin' \
        120000 "$setup_exe" &
    setup_pid=$!
}
finish_setup() {
    wait "$setup_pid" || true
}

# The X window of a visible window whose title holds this text (Wine gives an X window
# the Win32 title as its name).
x_window() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1
}

# Saves X window $2 as $out/$1.png, in 256 colours (the dialogs have few).
capture() {
    local name=$1 xid=$2
    import -window "$xid" "$RIG_RUN/shot.png"
    convert "$RIG_RUN/shot.png" -strip -colors 256 "PNG8:$out/$name.png"
    echo "saved $name.png"
}

# Waits for the setup's window (a title, or the driver's name of one of the setup's
# windows such as @destination), lets it paint, and captures it.
shoot() {
    local name=$1 window=$2 title xid=""
    driver show "$window" 30000
    # X knows the window by its title: the one the driver found.
    title=$(tr -d '\r' <"$RIG_RUN/driver.out" |
        sed -n 's/^window "\(.*\)" class .*/\1/p' | head -n 1)
    [ -n "$title" ] || { echo "screenshots: the driver found no titled $window" >&2; return 1; }
    for _ in $(seq 50); do
        xid=$(x_window "$title")
        [ -n "$xid" ] && break
        sleep 0.1
    done
    [ -n "$xid" ] || { echo "screenshots: no X window for \"$title\"" >&2; return 1; }
    # A window is mapped before its first paint is done; nothing tells the outside when
    # painting ends, so give it a moment.
    sleep 0.5
    capture "$name" "$xid"
}

# The copy notice has no title: it is the untitled visible window of the setup while
# the copy runs.
shoot_notice() {
    local name=$1 xid="" id
    for _ in $(seq 200); do
        for id in $(xdotool search --onlyvisible --class setup.exe 2>/dev/null); do
            if [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ]; then
                xid=$id
                break 2
            fi
        done
        sleep 0.05
    done
    if [ -z "$xid" ]; then
        echo "screenshots: the copy notice was not caught" >&2
        return 0
    fi
    sleep 0.3
    capture "$name" "$xid"
}

destination=@destination

echo "German resource library: the destination dialog"
make_cd german --german --unset "$common" DefaultInstall --set "$common" ApplicationName Atlas
start_setup
shoot destination-german "$destination"
driver click "$destination" IDCANCEL
finish_setup

echo "Client CD: licence, destination, browser selection"
# Three browsers besides Internet Explorer, so the selection dialog has several rows.
reg_add 'HKCU\Software\Netscape\Netscape Navigator\Main' /v 'Install Directory' /d 'C:\Netscape3'
reg_add 'HKLM\Software\Netscape\Netscape Navigator' /v CurrentVersion /d '4.7 (en)'
reg_add 'HKLM\Software\Netscape\Netscape Navigator\4.7 (en)\main' /v 'Install Directory' \
    /d 'C:\Netscape\Communicator\Program'
reg_add 'HKLM\Software\Netscape\Netscape 6\6.2 (en)\main' /v 'Install Directory' \
    /d 'C:\Netscape 6\'
for program in Netscape3/program/netscape.exe Netscape/Communicator/Program/netscape.exe \
    'Netscape 6/netscp6.exe'; do
    mkdir -p "$(dirname "$WINEPREFIX/drive_c/$program")"
    echo stand-in >"$WINEPREFIX/drive_c/$program"
done
make_cd client --unset "$common" DefaultInstall --unset "$common" Browser \
    --set "$common" LicenseFile agree.txt --add agree.txt "$root/tests/data/cd/agree.txt"
start_setup
shoot license @agreement
driver click @agreement IDOK
shoot destination-client "$destination"
# "Setup Icon Only" is ticked: the program files stay on the CD.
driver click "$destination" IDOK
shoot browser-selection @browser
driver click @browser IDOK
finish_setup

echo "Client CD again: the reinstall question"
start_setup
shoot reinstall @message
driver click @message IDNO
finish_setup

echo "Publisher CD: destination, copy notice"
make_cd publisher --publisher
chmod -R u+w "$RIG_RUN/cd-publisher"
# Enough files that the copy notice stays up for a capture.
python3 - "$RIG_RUN/cd-publisher/common/many" <<'PY'
import os, sys
os.makedirs(sys.argv[1])
for i in range(3000):
    with open(os.path.join(sys.argv[1], "page%04d.htm" % i), "w") as f:
        f.write("<p>%d</p>\n" % i)
PY
chmod -R a-w "$RIG_RUN/cd-publisher"
start_setup
shoot destination-publisher "$destination"
driver set "$destination" IDC_DEST_PATH 'C:\Lumora Publisher'
driver check "$destination" IDC_SOLARIS 1
driver click "$destination" IDOK
shoot_notice copying
finish_setup

echo "Publisher CD without its data tree: the copy failure"
make_cd broken --publisher --set "$common" ApplicationName 'Lumora Broken' --remove data
start_setup
driver set "$destination" IDC_DEST_PATH 'C:\Lumora Broken'
driver click "$destination" IDOK
shoot copy-failure @message
driver click @message IDOK
finish_setup

echo "Client CD on a small drive: the no-space message"
rig_drive_options --drive-tmpfs F 30m
make_cd small --set "$common" forceInstall Y --set "$common" ApplicationName 'Lumora Small'
start_setup
driver set "$destination" IDC_DEST_PATH 'f:\lumora'
driver click "$destination" IDOK
shoot no-space @message
driver click @message IDOK
driver click "$destination" IDCANCEL
finish_setup

# The about box belongs to the hidden frame, which exists only after the installation
# and is closed at once, so no user (and no driver) can open it.
ls -l "$out"
