#!/bin/bash
# Shows the setup at work: presses the sample CD into an image, shows the INI tool on its
# search.ini, and tries the image as a publisher would before pressing it
# (tools/try-cd): the setup runs under Wine from the image as Windows reads it (its
# Joliet names, read-only), copies the program files to C:\lumora, and runs a second
# time, when it finds the installation. With
# DISPLAY set the windows appear on that display and the user answers them; otherwise
# they appear on a private Xvfb and the GUI driver answers.
#
# usage: dev/demo.sh [BUILD_DIR]      (default build/mingw64; `make demo` builds it)
#   DEMO_HEADLESS=1 uses the private Xvfb and the driver even when DISPLAY is set;
#   INITOOL=path names the INI tool to show (default: the native build's, else the
#   Windows one of BUILD_DIR); DEMO_OUT=folder takes the image, the report and the
#   pictures (default BUILD_DIR/demo).
[ -n "${BASH_VERSION:-}" ] || exec bash "$0" "$@"
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/mingw64}
build=$(cd "$build" && pwd)
for f in "$build/setup.exe" "$build/tools/guidriver/guidriver.exe"; do
    [ -f "$f" ] || { echo "demo: $f is not built (make demo builds it)" >&2; exit 1; }
done

say() { printf '\n== %s\n' "$*"; }
# The machine type a Windows program is built for, from its PE header.
file_machine() {
    python3 -c 'import sys; sys.path.insert(0, sys.argv[1]); from trycd import program_type; print(program_type.architecture(sys.argv[2]))' "$root/tools" "$1"
}

demo=${DEMO_OUT:-$build/demo}
mkdir -p "$demo"
demo=$(cd "$demo" && pwd)
image="$demo/sample-cd.iso"
say "The sample CD, pressed into $image"
# A fresh machine has no 32-bit machine yet (making it takes minutes): the demo's CD
# carries the x86_64 twin; the kit's CD carries the i686 build, which make test runs.
echo "  with the setup of the $(basename "$build") build ($(file_machine "$build/setup.exe"))"
# Without "DefaultInstall" the destination dialog offers "c:\" with "Setup Icon Only"
# ticked, which the try-out clears to copy the program files to the disk.
"$root/dev/make-sample-cd.sh" --writable --unset 'IS\SearchApp\Common' DefaultInstall \
    --image "$image" "$build" "$demo/cd"
(cd "$demo/cd" && find . -maxdepth 2 | sort | sed 's|^\./||; /^\.$/d' | column -c 100)
echo "$(stat -c %s "$image") bytes"

initool=""
for candidate in "${INITOOL:-}" "$root/build/native/tools/initool/initool" \
    "$build/tools/initool/initool.exe"; do
    if [ -f "$candidate" ]; then
        initool=$(cd "$(dirname "$candidate")" && pwd)/$(basename "$candidate")
        break
    fi
done
say "Its search.ini, read and edited with the INI tool ($(basename "${initool:-none}"))"
ini_dir="$demo/ini"
rm -rf "$ini_dir"
mkdir -p "$ini_dir"
cp "$demo/cd/search.ini" "$ini_dir/search.ini"
chmod u+w "$ini_dir/search.ini"
# Runs the INI tool in the copy's folder; the Windows one in a Wine rig of its own.
run_tool() {
    if [[ $initool == *.exe ]]; then
        (cd "$ini_dir" && rig_wine "$demo/ini.out" "$demo/ini.err" "$initool" "$@") || true
        tr -d '\r' <"$demo/ini.out"
        tr -d '\r' <"$demo/ini.err"
    else
        (cd "$ini_dir" && "$initool" "$@" 2>&1) || true
    fi
}
show_ini_tool() {
    local section='IS\SearchApp\Common' command words
    for command in "get search.ini $section ApplicationName" "get search.ini $section currentenv" \
        "set search.ini $section DefaultInstall c:\\demo" "list search.ini $section"; do
        echo "\$ initool $command"
        read -r -a words <<<"$command"
        run_tool "${words[@]}"
    done
    echo "--- search.ini after the edit (comments and spacing kept):"
    tr -d '\r' <"$ini_dir/search.ini"
}
if [ -z "$initool" ]; then
    echo "(the INI tool is not built; make demo builds it)"
elif [[ $initool == *.exe ]]; then
    # In a subshell: the rig's display and prefix end with it, before the try-out starts
    # its own (the pristine prefix the rig makes serves both).
    (
        # shellcheck source=../tools/rig/rig.sh
        . "$root/tools/rig/rig.sh"
        rig_start "$build" demo-ini
        show_ini_tool
    )
else
    show_ini_tool
fi
rm -rf "$demo/cd"

say "The image tried before it is pressed: tools/try-cd $image"
if [ -n "${DISPLAY:-}" ] && [ -z "${DEMO_HEADLESS:-}" ]; then
    "$root/tools/try-cd" "$image" --build "$build" --pictures "$demo/pictures" --second-run no
else
    echo "  the driver clears \"Setup Icon Only\", types c:\\lumora and presses Install;"
    echo "  on the second run it answers No to the reinstall question"
    TRY_HEADLESS=1 "$root/tools/try-cd" "$image" --build "$build" --pictures "$demo/pictures" \
        --icon-only no --destination 'c:\lumora' --second-run no
fi
