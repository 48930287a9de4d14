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
# shellcheck source=../tests/e2e/rig.sh
. "$root/tests/e2e/rig.sh"

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
guidriver="$build/tests/e2e/guidriver.exe"
for f in "$guidriver" "$build/setup.exe"; do
    [ -f "$f" ] || { echo "demo: $f is not built (run make build)" >&2; exit 1; }
done

say "The sample CD (drive D:, read-only, as pressed)"
"$root/tools/make-sample-cd.sh" "$build" "$RIG_RUN/cd"
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
# Starts setup.exe from the CD's _red40\bin folder and reports its windows until it ends.
start_setup() {
    rig_wine "$RIG_RUN/setup-$1.out" "$RIG_RUN/setup-$1.err" "$guidriver" run \
        'D:\_red40\bin' 120000 'D:\_red40\bin\setup.exe' &
    setup_pid=$!
}
finish_setup() {
    wait "$setup_pid" || true
}
report_setup() {
    sed 's/^/  setup.exe: /' "$RIG_RUN/setup-$1.out"
}
# Files that appeared on drive C: since the stamp file was made.
show_new_files() {
    local found
    found=$(cd "$WINEPREFIX/drive_c" && find . -type f -newer "$1" -not -path './windows/*' -not -name lumora-launches.log |
        sed 's|^\./|C:\\|; s|/|\\|g' | sort)
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
    sed 's/^/  /' "$RIG_RUN/driver.out"
}

say "First run: a client CD on a machine without an earlier installation"
touch "$RIG_RUN/stamp-first"
start_setup first
finish_setup first
report_setup first
show_launches
show_new_files "$RIG_RUN/stamp-first"

say "Second run: an earlier installation's Start-menu shortcut exists"
driver programs
programs=$(tr -d '\r' <"$RIG_RUN/driver.out")
group=$(awk -F ' *= *' 'tolower($1) == "applicationgroup" { sub(/\r$/, "", $2); print $2 }' "$RIG_RUN/cd/search.ini")
name=$(awk -F ' *= *' 'tolower($1) == "applicationname" { sub(/\r$/, "", $2); print $2 }' "$RIG_RUN/cd/search.ini")
mkdir -p "$WINEPREFIX/drive_c/Lumora/_red40/bin"
cp "$RIG_RUN/cd/_red40/bin/search.exe" "$WINEPREFIX/drive_c/Lumora/_red40/bin/"
driver link "$programs\\$group\\$name.lnk" 'C:\Lumora\_red40\bin\search.exe' 'C:\Lumora\_red40\bin'
echo "  made $programs\\$group\\$name.lnk -> C:\\Lumora\\_red40\\bin\\search.exe"
: >"$log"
touch "$RIG_RUN/stamp-second"
start_setup second
if [ "$visible" = 1 ]; then
    echo "  answer the question on your display ($DISPLAY)"
else
    echo "  the driver answers No; this is what the user saw:"
    # The driver gives up when the setup ends without asking.
    rig_wine "$RIG_RUN/answer.out" "$RIG_RUN/answer.err" "$guidriver" answer "$name" 7 &
    answer_pid=$!
fi
finish_setup second
if [ "$visible" = 0 ]; then
    kill "$answer_pid" 2>/dev/null && echo "  setup.exe ended without asking" || true
    wait "$answer_pid" 2>/dev/null || true
    sed 's/^/  /' "$RIG_RUN/answer.out"
fi
report_setup second
show_launches
show_new_files "$RIG_RUN/stamp-second"
