#!/bin/sh
# The Linux tools run from an install prefix, without the source tree: cdcheck and
# initool from PATH, try-cd through its link, finding its GUI driver below the prefix, and
# trying the sample image with the rig installed with it.
# usage: installed_tools_test.sh BUILD_DIR PLANTED_EXE WINDOWS_BUILD_DIR
set -eu
build=$1 planted=$2 windows_build=$3
source=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$(mktemp -d)
# Every process this test starts has its home in the prefix: whatever is left is ended.
end_test() {
    for file in $(grep -lzxF "HOME=$prefix/home" /proc/[0-9]*/environ 2>/dev/null); do
        pid=${file#/proc/}
        kill -9 "${pid%/environ}" 2>/dev/null || true
    done
    rm -rf "$prefix"
}
trap end_test EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
# Only the prefix and the system's own programs: no build or source folder on PATH.
PATH=$prefix/bin:/usr/bin:/bin
cd "$prefix"

out=$(cdcheck --audit "$planted" || true)
echo "$out" | grep -q "imports GetTickCount64 of KERNEL32.dll, which came with Windows Vista" ||
    { echo "installed cdcheck: $out"; exit 1; }

printf '[S]\r\nk = v\r\n' >"$prefix/t.ini"
[ "$(initool get "$prefix/t.ini" S k)" = v ] || { echo "installed initool failed"; exit 1; }

# try-cd checks its GUI driver, then the programs of its package's set in the table
# installed with it; on a machine with that set but Xvfb, it stops there and names it.
mkdir "$prefix/cd"
grep -v '^xvfb ' "$prefix/share/lumora-setup/tools/system-needs.txt" >"$prefix/no-xvfb.txt"
out=$(python3 "$source/tests/needs/set_path.py" --table "$prefix/no-xvfb.txt" tools -- \
    "$prefix/bin/try-cd" "$prefix/cd" 2>&1 || true)
case $out in
*guidriver*) echo "installed try-cd did not find its GUI driver: $out"; exit 1 ;;
*"Xvfb is missing (Debian package xvfb)"*) ;;
*) echo "installed try-cd: $out"; exit 1 ;;
esac

# A publisher's first try after installing the package: a machine with the package's
# Depends only (PATH reduced to the "tools" set), a home of its own, where try-cd makes its
# Wine prefixes; one run of the sample image, through to the search program it starts.
"$source/dev/make-sample-cd.sh" --writable --image "$prefix/sample.iso" "$windows_build" \
    "$prefix/sample" >/dev/null
mkdir "$prefix/home" "$prefix/tmp"
status=0
env -u XDG_CACHE_HOME -u DISPLAY HOME="$prefix/home" TMPDIR="$prefix/tmp" \
    python3 "$source/tests/needs/set_path.py" --table "$prefix/share/lumora-setup/tools/system-needs.txt" \
    tools -- "$prefix/bin/try-cd" "$prefix/sample.iso" --pictures "$prefix/pictures" \
    >"$prefix/out" 2>"$prefix/err" || status=$?
fail() { echo "installed try-cd: $1"; cat "$prefix/out" "$prefix/err"; exit 1; }
[ "$status" = 0 ] || fail "exit status $status, not 0 (the installed program started)"
[ ! -s "$prefix/err" ] || fail "it wrote errors"
matrix=$(sed -n '/^== Matrix$/,/^$/p' "$prefix/out" | sed 1,2d)
case $matrix in
'  default | started D:\_red40\bin\search.exe | '*) ;;
*) fail "the matrix is not one run that started D:\_red40\bin\search.exe" ;;
esac
[ "$(echo "$matrix" | grep -c .)" = 1 ] || fail "the matrix is not one run"
left=$(grep -lzxF "HOME=$prefix/home" /proc/[0-9]*/environ 2>/dev/null || true)
[ -z "$left" ] || fail "processes outlive the try: $left"
[ -z "$(ls -A "$prefix/home/.cache/lumora-try-cd/e2e-rig/runs")" ] || fail "its run folder is left"
echo "installed tools run from $prefix"
