#!/bin/sh
# The Linux tools run from an install prefix, without the source tree: cdcheck and
# initool from PATH, try-cd through its link, finding its GUI driver below the prefix.
# usage: installed_tools_test.sh BUILD_DIR PLANTED_EXE
set -eu
build=$1 planted=$2
source=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
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
echo "installed tools run from $prefix"
