#!/bin/bash
# Shows the setup at work on the sample CD under Wine, and the INI tool on the CD's
# search.ini. With DISPLAY set the windows appear on that display and the user answers
# them; otherwise they appear on a private Xvfb and the GUI driver answers.
#
# usage: tools/demo.sh [BUILD_DIR]      (default build/mingw64; `make demo` builds it)
#   DEMO_HEADLESS=1 uses the private Xvfb and the driver even when DISPLAY is set;
#   INITOOL=path names the INI tool to show (default: the native build's, else the
#   Windows one of BUILD_DIR).
[ -n "${BASH_VERSION:-}" ] || exec bash "$0" "$@"
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/mingw64}
build=$(cd "$build" && pwd)
# shellcheck source=../rig/rig.sh
. "$root/tools/rig/rig.sh"

visible=0
if [ -n "${DISPLAY:-}" ] && [ -z "${DEMO_HEADLESS:-}" ]; then
    visible=1
    RIG_USE_DISPLAY=1
fi

say() { printf '\n== %s\n' "$*"; }

initool=""
for candidate in ${INITOOL:-} "$root/build/native/tools/initool/initool" \
    "$build/tools/initool/initool.exe"; do
    if [ -f "$candidate" ]; then
        initool=$(cd "$(dirname "$candidate")" && pwd)/$(basename "$candidate")
        break
    fi
done

rig_start "$build" demo
guidriver="$build/tools/guidriver/guidriver.exe"
for f in "$guidriver" "$build/setup.exe"; do
    [ -f "$f" ] || { echo "demo: $f is not built (run make build)" >&2; exit 1; }
done

say "The sample CD (drive D:, read-only, as pressed)"
# Without "DefaultInstall" the destination dialog offers "c:\" with "Setup Icon Only"
# ticked, which the user clears to copy the program files to the disk.
"$root/tools/make-sample-cd.sh" --unset 'IS\SearchApp\Common' DefaultInstall "$build" "$RIG_RUN/cd"
rig_map_cd "$RIG_RUN/cd"
(cd "$RIG_RUN/cd" && find . -maxdepth 2 | sort | sed 's|^\./||; /^\.$/d' | column -c 100)

say "Its search.ini, read and edited with the INI tool ($(basename "${initool:-none}"))"
mkdir -p "$RIG_RUN/ini"
cp "$RIG_RUN/cd/search.ini" "$RIG_RUN/ini/search.ini"
chmod u+w "$RIG_RUN/ini/search.ini"
run_initool() {
    echo "\$ initool $*"
    case "$initool" in
    *.exe) (cd "$RIG_RUN/ini" && rig_wine ../initool.out ../initool.err "$initool" "$@") || true
           cat "$RIG_RUN/initool.out" "$RIG_RUN/initool.err" ;;
    *) (cd "$RIG_RUN/ini" && "$initool" "$@" 2>&1) || true ;;
    esac
}
if [ -n "$initool" ]; then
    section='IS\SearchApp\Common'
    run_initool get search.ini "$section" ApplicationName
    run_initool get search.ini "$section" currentenv
    run_initool set search.ini "$section" DefaultInstall 'c:\demo'
    run_initool list search.ini "$section"
    echo "--- search.ini after the edit (comments and spacing kept):"
    cat "$RIG_RUN/ini/search.ini"
else
    echo "(the INI tool is not built; make build makes build/native/tools/initool/initool)"
fi

# Where the stand-in search.exe records its starts (product/search/launch_log.h).
log="$WINEPREFIX/drive_c/lumora-launches.log"
driver() { rig_wine "$RIG_RUN/driver.out" "$RIG_RUN/driver.err" "$guidriver" "$@"; }
ini_value() {
    awk -F ' *= *' -v key="$1" 'tolower($1) == tolower(key) { sub(/\r$/, "", $2); print $2 }' \
        "$RIG_RUN/cd/search.ini"
}
group=$(ini_value ApplicationGroup)
name=$(ini_value ApplicationName)

# Runs setup.exe from the CD's _red40\bin folder and tells what it showed. Headless, the
# driver answers as a user who accepts what is offered would (Install, OK, the licence),
# and the replies given as arguments first.
run_setup() {
    local replies=()
    if [ "$visible" = 1 ]; then
        echo "  answer the setup's questions on your display ($DISPLAY)"
    else
        replies=("$@" "Please specify a directory=1" "*=1")
    fi
    rig_wine "$RIG_RUN/setup.out" "$RIG_RUN/setup.err" "$guidriver" run \
        'D:\_red40\bin' 300000 'D:\_red40\bin\setup.exe' "${replies[@]+"${replies[@]}"}" || true
    tr -d '\r' <"$RIG_RUN/setup.out" | sed 's/^/  /'
}
# Files that appeared on drive C: since the stamp file was made.
show_new_files() {
    local found
    found=$(cd "$WINEPREFIX/drive_c" && find . -type f -newer "$1" -not -path './windows/*' \
        -not -name lumora-launches.log | sed 's|^\./|C:\\|; s|/|\\|g' | sort)
    if [ -n "$found" ]; then
        echo "$found" | sed 's/^/  file made: /'
    else
        echo "  no file made on drive C:"
    fi
}
# search.exe is started without waiting for it, so its record may come after the setup
# ended: the driver waits for it (5 s at most).
show_launches() {
    driver launches 1 5000 || true
    tr -d '\r' <"$RIG_RUN/driver.out" | sed 's/^/  /'
}
show_registry() {
    rig_wine "$RIG_RUN/reg.out" "$RIG_RUN/reg.err" reg query "HKCU\\Software\\$group" /s || true
    if grep -q . "$RIG_RUN/reg.out"; then
        echo "  registry, HKEY_CURRENT_USER\\Software\\$group:"
        tr -d '\r' <"$RIG_RUN/reg.out" | grep . | sed 's/^/    /'
    else
        echo "  nothing recorded under HKEY_CURRENT_USER\\Software\\$group"
    fi
}

# The installed tree (two levels, with file counts) and the installed settings.
show_installed() {
    local dest="$WINEPREFIX/drive_c/lumora"
    if [ ! -d "$dest" ]; then
        echo "  nothing installed in C:\lumora"
        return
    fi
    echo "  installed tree C:\lumora ($(find "$dest" -type f | wc -l) files):"
    (cd "$dest" && find . -mindepth 1 -maxdepth 2 -type d | sort | while read -r dir; do
        printf '    %-28s %4d files\n' "${dir#./}" "$(find "$dir" -type f | wc -l)"
    done)
    echo "  installed settings C:\lumora\search.ini:"
    tr -d '\r' <"$dest/search.ini" | sed '/^$/d; s/^/    /'
}
# Each Start-menu shortcut of the group, read by lnkinfo (a reader we did not write).
show_shortcuts() {
    local link
    find "$WINEPREFIX/drive_c/users" -path "*/$group/*.lnk" 2>/dev/null | sort |
        while read -r link; do
            echo "  shortcut $(basename "$link"):"
            if command -v lnkinfo >/dev/null; then
                lnkinfo "$link" 2>/dev/null |
                    grep -E 'Local path|Working directory|Description|Icon location' |
                    sed 's/^[[:space:]]*/    /'
            fi
        done
}

say "First run: a client CD on a machine without an earlier installation"
[ "$visible" = 1 ] ||
    echo "  the driver clears \"Setup Icon Only\", types c:\\lumora and presses Install"
touch "$RIG_RUN/stamp-first"
run_setup 'Please specify a directory=check 1026 0;set 1012 c:\lumora;1'
show_launches
show_installed
show_shortcuts
show_new_files "$RIG_RUN/stamp-first" | grep -v 'C:\\lumora\\' || true
show_registry

say "Second run: the Start-menu shortcut of the first run exists"
link=$(find "$WINEPREFIX/drive_c/users" -path "*/$group/$name.lnk" 2>/dev/null | sed -n 1p)
if [ -z "$link" ]; then
    # A setup that made no shortcut still shows the question with one made by hand.
    driver programs
    programs=$(tr -d '\r' <"$RIG_RUN/driver.out")
    mkdir -p "$WINEPREFIX/drive_c/Lumora/_red40/bin"
    cp "$RIG_RUN/cd/_red40/bin/search.exe" "$WINEPREFIX/drive_c/Lumora/_red40/bin/"
    driver link "$programs\\$group\\$name.lnk" 'C:\Lumora\_red40\bin\search.exe' \
        'C:\Lumora\_red40\bin'
    echo "  the first run made no shortcut; made $programs\\$group\\$name.lnk by hand"
fi
[ "$visible" = 1 ] || echo "  the driver answers No to the reinstall question"
: >"$log"
touch "$RIG_RUN/stamp-second"
run_setup "$name=7"
show_launches
show_new_files "$RIG_RUN/stamp-second"
