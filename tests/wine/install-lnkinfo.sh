#!/bin/sh
# install.dll's link read on the host by lnkinfo (liblnk), a reader that shares nothing
# with Wine's shell: the link must be a standard shell link file.
# usage: install-lnkinfo.sh BUILD_DIR INSTALL_TESTS_EXE
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$1
program=$2

run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
# Wine sees the host's root as drive Z:.
windows_link="Z:$(printf '%s' "$run/host.lnk" | tr / '\\')"
LUMORA_HOST_LINK=$windows_link "$here/../../tools/wine-run.sh" "$build/wineprefix" "$program" \
    --gtest_filter=InstallDll.LinkForHostReader >"$run/out.txt" 2>"$run/err.txt" || {
    cat "$run/out.txt" "$run/err.txt"
    exit 1
}
expected_program=$(sed -n 's/^program=//p' "$run/out.txt" | tr -d '\r')
lnkinfo "$run/host.lnk" >"$run/lnkinfo.txt"

status=0
check() {
    # lnkinfo: "<tab>Name<tab><tab>: value"
    value=$(sed -n "s/^[[:space:]]*$1[[:space:]]*: //p" "$run/lnkinfo.txt" | head -n 1)
    if [ "$value" != "$2" ]; then
        echo "install-lnkinfo: $1 is '$value', expected '$2'" >&2
        status=1
    fi
}
check "Local path" "$expected_program"
check "Working directory" "${expected_program%\\*}"
check "Description" "Shortcut to Uninstaller"
check "Icon location" 'C:\Search App\_red40\bin\uninstal.ico'
[ "$status" -eq 0 ] || cat "$run/lnkinfo.txt"
exit "$status"
