#!/bin/bash
# cdcheck over images pressed by the sample CD builder:
#  - the clean sample, whose folders of more than 8 characters Windows 3.1 and NT 3.51
#    read cut;
#  - one broken on purpose: a name Joliet cuts, names differing only in case, a folder
#    too deep, no search.ini;
#  - one whose root setup.exe is not the kit's and Windows NT 4.0 cannot start;
#  - a file that is no image, and a damaged image;
# and cdcheck over the broken folder before pressing, which warns about the same names.
# usage: cdcheck_images.sh CDCHECK WORK_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cdcheck=$1
work=$2
rm -rf "$work"
mkdir -p "$work/programs"
for program in setup.exe search.exe c_uninst.exe install.dll view_ocx.ocx; do
    sh "$(dirname "$0")/stand_in_pe.sh" "$program" "$work/programs/$program"
done
# make_cd NAME [OPTIONS...]: the sample CD WORK_DIR/NAME and its image NAME.iso.
make_cd() {
    "$here/../../tools/make-sample-cd.sh" --writable --image "$work/$1.iso" "${@:2}" \
        "$work/programs" "$work/$1" >/dev/null || { echo "FAILED: make-sample-cd.sh $*"; exit 1; }
}
long=$(printf 'L%.0s' $(seq 70))
make_cd clean
make_cd broken --remove search.ini --add "docs/$long.htm" "$0" --add docs/Index.htm "$0" \
    --add docs/INDEX.HTM "$0" --add docs/a/b/c/d/e/f/g/h.htm "$0"
# A root setup.exe that is not the kit's: subsystem version 5.0, which Windows 2000 starts.
cp "$work/programs/setup.exe" "$work/newer.exe"
printf '\005' | dd of="$work/newer.exe" bs=1 seek=$((0xc8)) conv=notrunc status=none
make_cd newer --add setup.exe "$work/newer.exe"
head -c 100000 "$work/clean.iso" >"$work/damaged.iso"

failures=0
# expect EXIT_CODE ARGUMENT TEXT...: cdcheck ARGUMENT ends with EXIT_CODE and prints
# every TEXT.
expect() {
    local code=$1 argument=$2 out status=0 text
    shift 2
    out=$("$cdcheck" --quiet "$argument" 2>&1) || status=$?
    [ "$status" = "$code" ] || { echo "FAILED: $argument: exit $status, not $code"; failures=1; }
    for text in "$@"; do
        grep -qF -- "$text" <<<"$out" || { echo "FAILED: $argument: no \"$text\""; failures=1; }
    done
    [ "$failures" = 0 ] || echo "$out"
}
# The sample's "\templates" (TemplateDir) and "\cgi-bin" have no 8.3 ISO 9660 names.
expect 1 "$work/clean.iso" \
    "clean.iso:\\templates: warning: Windows 3.1 with Win32s and Windows NT 3.51 read the ISO 9660 name \\TEMPLATE" \
    "clean.iso:\\cgi-bin: warning: Windows 3.1 with Win32s and Windows NT 3.51 read the ISO 9660 name \\CGI_BIN"
expect 2 "$work/broken.iso" \
    "broken.iso:\\docs\\$long.htm: warning: Windows reads this name as \"${long:0:61}.htm\"" \
    "broken.iso:\\docs\\Index.htm: warning: differs only in letter case from \"INDEX.HTM\"" \
    "broken.iso:\\docs\\a\\b\\c\\d\\e\\f\\g: warning: a folder on level 9" \
    "broken.iso:\\search.ini: error: missing where the setup looks"
expect 2 "$work/broken" \
    "docs/$long.htm: warning: a name of 74 characters" \
    "docs/Index.htm: warning: differs only in letter case" \
    "docs/a/b/c/d/e/f/g: warning: a folder on level 9"
expect 1 "$work/newer.iso" \
    "newer.iso:\\setup.exe: warning: subsystem version 5.0, newer than Windows NT 4.0 starts; the machines this CD is for cannot start it" \
    "newer.iso:\\setup.exe: warning: differs from _red40\\bin\\setup.exe"
expect 64 "$0" "not an ISO 9660 image"
expect 2 "$work/damaged.iso" "damaged: "
[ "$failures" = 0 ] && rm -rf "$work" && echo "cdcheck images: all as expected"
exit "$failures"
