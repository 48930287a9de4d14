#!/bin/sh
# Installs the Debian packages that building and testing need.
#   install-deps.sh        everything: the builds, the tests, the benchmarks, the kit
#   install-deps.sh demo   only what make demo needs: the x86_64 cross compiler, Wine
#                          and the image tools (GoogleTest's sources configure the build)
# Idempotent and non-interactive: packages already present are not fetched again,
# and `apt-get update` runs at most once per machine (a stamp file records it).
set -eu

# The Windows builds use the win32 thread model: no threading runtime in the programs.
DEMO_PACKAGES="
cmake ninja-build make googletest
g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
wine wine64 xvfb xdotool imagemagick xorriso fuseiso python3
"
PACKAGES="$DEMO_PACKAGES
g++ clang libclang-rt-14-dev
libgtest-dev libbenchmark-dev libsimpleini-dev libinih-dev
g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
liblnk-utils libiso9660-dev dpkg-dev
"
[ "${1:-}" = demo ] && PACKAGES=$DEMO_PACKAGES

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
