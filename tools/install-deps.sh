#!/bin/sh
# Installs the Debian packages that building and testing need.
# Idempotent and non-interactive: packages already present are not fetched again,
# and `apt-get update` runs at most once per machine (a stamp file records it).
set -eu

PACKAGES="
cmake ninja-build make g++ clang libclang-rt-14-dev
googletest libgtest-dev libbenchmark-dev libsimpleini-dev libinih-dev
g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
wine wine64 xvfb xdotool liblnk-utils imagemagick
xorriso fuseiso libiso9660-dev python3
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
stamp=/var/lib/apt/periodic/lumora-setup-updated
if [ ! -e "$stamp" ]; then
    $SUDO apt-get update -qq || true
    $SUDO mkdir -p "$(dirname "$stamp")" && $SUDO touch "$stamp"
fi
echo "installing:$missing"
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
