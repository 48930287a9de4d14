#!/bin/bash
# cdcheck over images pressed by the sample CD builder, each output compared whole, so
# that a finding too many fails as one too few:
#  - the clean sample: only its two folders of more than 8 characters are read otherwise
#    by the Windows that read ISO 9660 names; its names without an extension (pressed
#    as "SEARCH.;1") and every file's ";1" are no finding;
#  - one broken on purpose, with names of each kind (with and without an extension,
#    files and folders): names Joliet cuts, names differing only in case, a folder too
#    deep and a path too long (and what lies below them), no search.ini, names beyond
#    ASCII that the default code pages (1252, 932) cannot show, among them a Japanese
#    folder (whose Joliet name libcdio's own listing cuts); and the same tree before
#    pressing;
#  - one whose root setup.exe is not the kit's and Windows NT 4.0 cannot start;
#  - a file that is no image, and a damaged image.
# usage: cdcheck_images.sh CDCHECK WORK_DIR
set -uo pipefail
export LC_ALL=C.UTF-8 # names are UTF-8, as xorriso reads them to make the Joliet names
here=$(cd "$(dirname "$0")" && pwd)
cdcheck=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$2
rm -rf "$work"
mkdir -p "$work/programs"
for program in setup.exe search.exe c_uninst.exe install.dll view_ocx.ocx; do
    sh "$here/stand_in_pe.sh" "$program" "$work/programs/$program"
done
# make_cd NAME [OPTIONS...]: the sample CD WORK_DIR/NAME and its image NAME.iso.
make_cd() {
    "$here/../../dev/make-sample-cd.sh" --writable --image "$work/$1.iso" "${@:2}" \
        "$work/programs" "$work/$1" >/dev/null || { echo "FAILED: make-sample-cd.sh $*"; exit 1; }
}
long=$(printf 'L%.0s' $(seq 70)) # Joliet keeps 64 characters of a name
L64=${long:0:64}
folder=$(printf 'D%.0s' $(seq 70))
D64=${folder:0:64}
f64=$(printf 'F%.0s' $(seq 64))
deep="$f64/$f64/$f64/$f64" # a folder below docs: a path of 264 characters
# Joliet counts characters, not the bytes of UTF-8: 64 characters in 68 bytes are kept.
utf64="äöüß${f64:0:60}"
utf65="äöüß${long:0:61}"
make_cd clean
make_cd broken --remove search.ini --add "docs/$long.htm" "$0" --add "docs/$long" "$0" \
    --add "docs/$folder/page.htm" "$0" --add docs/Index.htm "$0" --add docs/INDEX.HTM "$0" \
    --add docs/Notes "$0" --add docs/NOTES "$0" --add docs/Maps/a.htm "$0" \
    --add docs/MAPS/a.htm "$0" --add docs/a/b/c/d/e/f/g/h/i.htm "$0" --add "docs/$deep/x.htm" "$0" \
    --add "docs/$utf64" "$0" --add "docs/$utf65" "$0" --add "docs/表示/表.txt" "$0"
# A root setup.exe that is not the kit's: subsystem version 5.0, which Windows 2000 starts.
cp "$work/programs/setup.exe" "$work/newer.exe"
printf '\005' | dd of="$work/newer.exe" bs=1 seek=$((0xc8)) conv=notrunc status=none
make_cd newer --add setup.exe "$work/newer.exe"
head -c 100000 "$work/clean.iso" >"$work/damaged.iso"
echo "not an image" >"$work/text.iso"
cd "$work" || exit 1

failures=0
# expect EXIT_CODE ARGUMENT <<EOF: cdcheck --quiet ARGUMENT ends with EXIT_CODE and
# prints exactly the lines given (stdout and stderr).
expect() {
    local code=$1 argument=$2 out status=0
    out=$("$cdcheck" --quiet "$argument" 2>&1) || status=$?
    [ "$status" = "$code" ] || { echo "FAILED: cdcheck $argument: exit $status, not $code"; failures=1; }
    if ! diff <(cat) <(printf '%s\n' "$out") >"$work/diff"; then
        echo "FAILED: cdcheck $argument: findings other than expected (<) in its output (>):"
        cat "$work/diff"
        failures=1
    fi
}
iso="warning: Windows 3.1 with Win32s and Windows NT 3.51 read the ISO 9660 name"
none="the setup there finds nothing named"
level9="warning: a folder on level 9 (the root is level 1): ISO 9660 keeps 8 levels, and readers of its own names find this folder moved"
twin="Windows sees one name and opens only one of them"
joliet="(its Joliet name): a setting or program looking for"
ascii="${iso}s, which hold ASCII only: $none"
cp="warning: Windows with code page"
unread="the setup there cannot open it"
expect 1 clean.iso <<EOF
clean.iso:\cgi-bin: $iso \CGI_BIN: $none \cgi-bin
clean.iso:\templates: $iso \TEMPLATE: $none \templates
0 errors and 2 warnings
EOF
# Below a folder Windows does not see, or one reported for its ISO 9660 name, and below
# twin folders, nothing more is reported. The ISO 9660 names are xorriso's: 8.3, made
# unique by a digit. Its Joliet tree leaves out what lies deeper than 240 characters.
expect 2 broken.iso <<EOF
broken.iso:\docs\a\b\c\d\e\f\g: $level9
broken.iso:\docs\\$folder: warning: Windows reads this name as "$D64" $joliet "$folder" does not find it
broken.iso:\docs\\$f64\\$f64: error: not in the image's Joliet tree: Windows does not see it
broken.iso:\docs\\${deep//\//\\}: warning: a path of 264 characters on the CD: ISO 9660 keeps 255
broken.iso:\docs\\$long: warning: Windows reads this name as "$L64" $joliet "$long" does not find it
broken.iso:\docs\\$long.htm: warning: Windows reads this name as "${long:0:61}.htm" $joliet "${long:0:36}...${long:0:32}.htm" does not find it
broken.iso:\docs\\$utf65: warning: Windows reads this name as "äöüß${long:0:60}" $joliet "$utf65" does not find it
broken.iso:\docs\Index.htm: warning: differs only in letter case from "INDEX.HTM": $twin
broken.iso:\docs\Maps: warning: differs only in letter case from "MAPS": $twin
broken.iso:\docs\Notes: warning: differs only in letter case from "NOTES": $twin
broken.iso:\cgi-bin: $iso \CGI_BIN: $none \cgi-bin
broken.iso:\docs\\$folder: $iso \DOCS\DDDDDDDD: $none \docs\\$D64
broken.iso:\docs\\$f64: $iso \DOCS\FFFFFFFF: $none \docs\\$f64
broken.iso:\docs\INDEX.HTM: $iso \DOCS\INDEX0.HTM: $none \docs\INDEX.HTM
broken.iso:\docs\Index.htm: $iso \DOCS\INDEX1.HTM: $none \docs\Index.htm
broken.iso:\docs\\$long: $iso \DOCS\LLLLLLLL: $none \docs\\$L64
broken.iso:\docs\\$long.htm: $iso \DOCS\LLLLLLLL.HTM: $none \docs\\${long:0:61}.htm
broken.iso:\docs\MAPS: $iso \DOCS\MAPS0: $none \docs\MAPS
broken.iso:\docs\Maps: $iso \DOCS\MAPS1: $none \docs\Maps
broken.iso:\docs\NOTES: $iso \DOCS\NOTES0: $none \docs\NOTES
broken.iso:\docs\Notes: $iso \DOCS\NOTES1: $none \docs\Notes
broken.iso:\docs\表示: $iso \DOCS\__: $none \docs\表示
broken.iso:\docs\\$utf64: $iso \DOCS\____FFFF: $none \docs\\$utf64
broken.iso:\docs\\$utf65: $iso \DOCS\____LLLL: $none \docs\\äöüß${long:0:60}
broken.iso:\templates: $iso \TEMPLATE: $none \templates
broken.iso:\docs\表示: $cp 1252 reads this name as "??": $unread
broken.iso:\docs\表示\表.txt: $cp 1252 reads this name as "?.txt": $unread
broken.iso:\docs\\$utf64: $cp 932 reads this name as "????${f64:0:60}": $unread
broken.iso:\docs\\$utf65: $cp 932 reads this name as "????${long:0:60}": $unread
broken.iso:\search.ini: error: missing where the setup looks: every setting reads as empty (publisher environment)
2 errors and 28 warnings
EOF
# The same names before pressing, where only their length and case tell.
cut="the image's Joliet names, which Windows reads, keep 64, so it is cut when pressed"
expect 2 broken <<EOF
broken/search.ini: error: missing: every setting reads as empty (publisher environment), and the installation stops when it copies the root files
broken/docs/$deep: warning: 275 characters at the default destination "c:\nodra30", more than the 255 the setup copies: the rest of the tree is not copied, without a message
broken/docs/$folder: warning: a name of 70 characters: $cut
broken/docs/$long: warning: a name of 70 characters: $cut
broken/docs/$long.htm: warning: a name of 74 characters: $cut
broken/docs/$utf65: warning: a name of 65 characters: $cut
broken/docs/$deep: warning: a path of 264 characters on the CD: ISO 9660 keeps 255
broken/docs/a/b/c/d/e/f/g: $level9
broken/docs/Index.htm: warning: differs only in letter case from "INDEX.HTM": $twin
broken/docs/Maps: warning: differs only in letter case from "MAPS": $twin
broken/docs/Notes: warning: differs only in letter case from "NOTES": $twin
broken/docs/$utf64: $ascii \docs\\$utf64
broken/docs/$utf65: $ascii \docs\\$utf65
broken/docs/表示: $ascii \docs\表示
broken/docs/$utf64: $cp 932 reads this name as "????${f64:0:60}": $unread
broken/docs/$utf65: $cp 932 reads this name as "????${long:0:61}": $unread
broken/docs/表示: $cp 1252 reads this name as "??": $unread
broken/docs/表示/表.txt: $cp 1252 reads this name as "?.txt": $unread
1 error and 17 warnings
EOF
expect 1 newer.iso <<EOF
newer.iso:\cgi-bin: $iso \CGI_BIN: $none \cgi-bin
newer.iso:\templates: $iso \TEMPLATE: $none \templates
newer.iso:\setup.exe: warning: subsystem version 5.0, newer than Windows NT 4.0 starts; the machines this CD is for cannot start it
newer.iso:\setup.exe: warning: differs from _red40\bin\setup.exe: one of them is not the kit's
0 errors and 4 warnings
EOF
expect 64 text.iso <<EOF
cdcheck: text.iso: not an ISO 9660 image: no volume descriptor at byte 32768
EOF
expect 2 damaged.iso <<EOF
cdcheck: damaged.iso: damaged: the Joliet folder \ cannot be read
EOF
[ "$failures" = 0 ] && rm -rf "$work" && echo "cdcheck images: all as expected"
exit "$failures"
