#!/bin/bash
# Builds a sample CD tree: the layout a publisher presses, with the programs of a build
# folder in "_red40/bin", dummy files for the other platforms and a search.ini of the
# chosen kind. Every file ends read-only, as on a pressed CD.
#
# usage: make-sample-cd.sh [options] BUILD_DIR CD_DIR
#   --publisher             a publisher's CD (default: a client CD)
#   --ini FILE              use FILE as the root search.ini instead of the sample one
#                           (a file of tests/data/cd when FILE names no file)
#   --set SECTION KEY VALUE set a value in the root search.ini (added when missing)
#   --unset SECTION KEY     remove a key from the root search.ini
#   --german                put the German resource library into _red40/bin, where the
#                           setup loads it
#   --add REL SRC           add or replace the file REL (relative to the CD root) by SRC
#                           (a file of tests/data/cd when SRC names no file)
#   --add-text REL LINE N   add the file REL of N bytes, LINE repeated
#   --remove REL            remove the file or tree REL after everything else
#   --writable              leave the tree writable (else read-only, and immutable when
#                           made by root)
#   --image FILE            also press the tree into the ISO 9660 image FILE, with Joliet
#                           names (what Windows reads) and Rock Ridge names, every file
#                           read-only as on a pressed CD (xorriso)
#   --label LABEL           the image's volume label (default LUMORA_SAMPLE)
# The copy of search.ini in _red40/bin (the setup's current directory) is made from the
# root search.ini after the --set/--unset edits; --add and --remove can change it.
# CD_DIR is replaced if it exists.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
data="$here/../tests/data/cd"

kind=client
ini=""
german=0
writable=0
edits=()   # triples: op section key [value]
adds=()    # pairs: rel src
texts=()   # triples: rel line bytes
removes=()
image=""
label=LUMORA_SAMPLE

while [ $# -gt 0 ]; do
    case "$1" in
    --publisher) kind=publisher; shift ;;
    --client) kind=client; shift ;;
    --ini) ini=$2; shift 2 ;;
    --set) edits+=("set" "$2" "$3" "$4"); shift 4 ;;
    --unset) edits+=("unset" "$2" "$3" ""); shift 3 ;;
    --german) german=1; shift ;;
    --add) adds+=("$2" "$3"); shift 3 ;;
    --add-text) texts+=("$2" "$3" "$4"); shift 4 ;;
    --remove) removes+=("$2"); shift 2 ;;
    --writable) writable=1; shift ;;
    --image) image=$2; shift 2 ;;
    --label) label=$2; shift 2 ;;
    --*) echo "make-sample-cd: unknown option $1" >&2; exit 2 ;;
    *) break ;;
    esac
done
[ $# -eq 2 ] || { sed -n '2,26p' "$0" >&2; exit 2; }
build=$(cd "$1" && pwd)
cd_dir=$2

# A built file of the build folder, found by name wherever its target put it.
built() {
    # The rig's runs come and go while this looks; they are never entered.
    find "$build" \( -path "$build/e2e-rig" -o -name CMakeFiles \) \
        -prune -o -name "$1" -type f -print | sort | sed -n 1p
}

need_built() {
    local f
    f=$(built "$1")
    [ -n "$f" ] || { echo "make-sample-cd: $1 is not built in $build" >&2; exit 1; }
    echo "$f"
}

# Sets or removes KEY in SECTION of an INI file; names compare without regard to case,
# as the setup's own store does. Lines are written with CR LF, as on the CD.
ini_edit() {
    local op=$1 file=$2
    OP=$op SEC=$3 KEY=$4 VAL=${5-} awk '
        function flush_missing() {
            if (in_sec && !done && op == "set") { print key " = " val "\r"; done = 1 }
        }
        BEGIN { op = ENVIRON["OP"]; sec = ENVIRON["SEC"]; key = ENVIRON["KEY"]; val = ENVIRON["VAL"] }
        {
            sub(/\r$/, "")
            line = $0
            trimmed = line; sub(/^[ \t]+/, "", trimmed)
            if (substr(trimmed, 1, 1) == "[") {
                flush_missing()
                name = trimmed; sub(/^\[/, "", name); sub(/\][ \t]*$/, "", name)
                in_sec = (tolower(name) == tolower(sec))
                if (in_sec) seen_sec = 1
                print line "\r"; next
            }
            if (in_sec && !done && index(trimmed, "=") > 0) {
                k = substr(trimmed, 1, index(trimmed, "=") - 1); sub(/[ \t]+$/, "", k)
                if (tolower(k) == tolower(key)) {
                    done = 1
                    if (op == "set") print key " = " val "\r"
                    next
                }
            }
            print line "\r"
        }
        END {
            flush_missing()
            if (!seen_sec && op == "set") { print "[" sec "]\r"; print key " = " val "\r" }
        }' "$file" >"$file.new"
    mv "$file.new" "$file"
}

# Copies a text file with CR LF line ends.
crlf_copy() {
    sed 's/\r$//; s/$/\r/' "$1" >"$2"
}

# A small dummy file whose content names it, so a copy can be told from its source.
dummy() {
    # Builtins only where the folder exists: a run makes about forty of these.
    [ -d "${1%/*}" ] || mkdir -p "${1%/*}"
    printf 'sample CD file %s\r\n' "${1#"$cd_dir"/}" >"$1"
}

if [ -e "$cd_dir" ]; then
    chattr -R -i "$cd_dir" 2>/dev/null || true
    chmod -R u+w "$cd_dir"
    rm -rf "$cd_dir"
fi
mkdir -p "$cd_dir"

# The setup kit, unpacked as a publisher unpacks it (the kit's install rules of the build
# folder, without the symbols archive's; make kit zips the same files): the setup in the root and in _red40/bin, its
# DLL, the German texts in _red40/lang/german, the viewer control in plugins/corvane,
# and the settings templates, replaced below by the sample's own settings.
if [ -f "$build/cmake_install.cmake" ]; then
    cmake --install "$build" --prefix "$cd_dir" --component kit >/dev/null ||
        { echo "make-sample-cd: the setup kit of $build is not built" >&2; exit 1; }
    rm -f "$cd_dir/PUBLISHERS.txt"
else
    # A folder of stand-ins for the built files (no install rules): the same places.
    mkdir -p "$cd_dir/_red40/bin" "$cd_dir/_red40/lang/german" "$cd_dir/plugins/corvane"
    cp "$(need_built setup.exe)" "$cd_dir/setup.exe"
    cp "$(need_built setup.exe)" "$cd_dir/_red40/bin/setup.exe"
    for placed in _red40/bin/install.dll _red40/lang/german/set32res.dll \
        plugins/corvane/view_ocx.ocx; do
        file=$(built "${placed##*/}")
        [ -z "$file" ] || cp "$file" "$cd_dir/$placed"
    done
fi

# The Windows platform's programs that the setup installs.
bin="$cd_dir/_red40/bin"
mkdir -p "$bin"
cp "$(need_built search.exe)" "$bin/search.exe"
cp "$(need_built c_uninst.exe)" "$bin/c_uninst.exe"
for icon in search.ico uninstal.ico; do
    if [ -f "$here/../resources/$icon" ]; then
        cp "$here/../resources/$icon" "$bin/$icon"
    else
        cp "$data/$icon" "$bin/$icon"
    fi
done
dummy "$bin/search.dat"

# The resource library ships for users who want it, outside the folder the setup
# starts in, so it is not loaded by default.
if [ "$german" = 1 ]; then
    [ -f "$cd_dir/_red40/lang/german/set32res.dll" ] ||
        { echo "make-sample-cd: --german needs set32res.dll in $build" >&2; exit 1; }
    cp "$cd_dir/_red40/lang/german/set32res.dll" "$bin/set32res.dll"
fi

dummy "$cd_dir/_red40/filters/pdf.flt"
dummy "$cd_dir/_red40/filters/rtf.flt"
dummy "$cd_dir/_red40/perl/lib/search.pl"
dummy "$cd_dir/_red40/perl/bin/perl.exe"

for platform in _ssol26 _sun441 _hpux11 _rs6k41 _aosf32 _irix62 _isvr4 _mac; do
    dummy "$cd_dir/$platform/bin/search"
    dummy "$cd_dir/$platform/bin/search.dat"
    dummy "$cd_dir/$platform/filters/pdf.flt"
done

# Trees shared by every platform.
dummy "$cd_dir/common/search.cfg"
dummy "$cd_dir/common/images/logo.gif"
dummy "$cd_dir/common20/search20.cfg"
mkdir -p "$cd_dir/plugins/corvane"
crlf_copy "$data/vuemark.ini" "$cd_dir/plugins/corvane/vuemark.ini"
dummy "$cd_dir/plugins/corvane/npvue.dll"
dummy "$cd_dir/forms/query.htm"
dummy "$cd_dir/forms/results.htm"
dummy "$cd_dir/docs/readme.htm"
dummy "$cd_dir/data/sample.idx"
dummy "$cd_dir/templates/page.htm"
dummy "$cd_dir/cgi-bin/search.cgi"
mkdir -p "$cd_dir/publish"
crlf_copy "$data/publish-search.ini" "$cd_dir/publish/search.ini"
dummy "$cd_dir/publish/project.lst"
dummy "$cd_dir/key.tbl"
printf '#!/bin/sh\r\n# sample CD: starts the search server on Unix platforms\r\n' >"$cd_dir/search"

# Root files: the settings and a copy of the setup.
# A source file by its name (or path) from tests/data/cd, else as given.
data_file() {
    if [ -e "$data/$1" ]; then echo "$data/$1"; else echo "$1"; fi
}

if [ -n "$ini" ]; then
    cp "$(data_file "$ini")" "$cd_dir/search.ini"
else
    crlf_copy "$data/search-$kind.ini" "$cd_dir/search.ini"
fi
i=0
while [ $i -lt ${#edits[@]} ]; do
    ini_edit "${edits[$i]}" "$cd_dir/search.ini" "${edits[$((i + 1))]}" \
        "${edits[$((i + 2))]}" "${edits[$((i + 3))]}"
    i=$((i + 4))
done
cp "$cd_dir/search.ini" "$bin/search.ini"

i=0
while [ $i -lt ${#adds[@]} ]; do
    mkdir -p "$(dirname "$cd_dir/${adds[$i]}")"
    cp "$(data_file "${adds[$((i + 1))]}")" "$cd_dir/${adds[$i]}"
    i=$((i + 2))
done
i=0
while [ $i -lt ${#texts[@]} ]; do
    mkdir -p "$(dirname "$cd_dir/${texts[$i]}")"
    { yes "${texts[$((i + 1))]}" || true; } | head -c "${texts[$((i + 2))]}" >"$cd_dir/${texts[$i]}"
    i=$((i + 3))
done
for rel in "${removes[@]+"${removes[@]}"}"; do
    rm -rf "${cd_dir:?}/$rel"
done

if [ "$writable" = 0 ]; then
    chmod -R a-w "$cd_dir"
    # Root writes past permission bits; the immutable flag stops it as a pressed CD would.
    # (Remove such a tree with chattr -R -i first.)
    if [ "$(id -u)" = 0 ]; then
        chattr -R +i "$cd_dir" 2>/dev/null ||
            echo "make-sample-cd: cannot make $cd_dir immutable; root can write to it" >&2
    fi
fi

# The pressed image. -r gives every file r--r--r-- (programs r-xr-xr-x) whatever the
# tree's own permissions; -J adds the Joliet names that Windows reads.
if [ -n "$image" ]; then
    command -v xorriso >/dev/null ||
        { echo "make-sample-cd: xorriso is missing (tools/install-deps.sh installs it)" >&2; exit 1; }
    rm -f "$image"
    if ! xorriso -as mkisofs -J -r -V "$label" -o "$image" "$cd_dir" >"$image.log" 2>&1; then
        cat "$image.log" >&2
        rm -f "$image" "$image.log"
        echo "make-sample-cd: could not press $image" >&2
        exit 1
    fi
    rm -f "$image.log"
fi
