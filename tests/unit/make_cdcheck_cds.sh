#!/bin/bash
# Makes the sample CDs that cdcheck's tests look over: OUT_DIR/client and
# OUT_DIR/publisher, writable so that the tests can copy and break them. Without a
# BUILD_DIR (the native build has no Windows programs) stand-ins take the programs' place.
#
# usage: make_cdcheck_cds.sh OUT_DIR [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$1
build=${2-}
mkdir -p "$out"
if [ -z "$build" ]; then
    build="$out/programs"
    mkdir -p "$build"
    for program in setup.exe search.exe c_uninst.exe install.dll view_ocx.ocx; do
        sh "$here/stand_in_pe.sh" "$program" "$build/$program"
    done
fi
"$here/../../dev/make-sample-cd.sh" --writable "$build" "$out/client"
"$here/../../dev/make-sample-cd.sh" --writable --publisher "$build" "$out/publisher"
