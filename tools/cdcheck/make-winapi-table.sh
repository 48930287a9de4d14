#!/bin/sh
# Writes the table of the Windows API that the PE audit reads (winapi_table.inc), from
# the MinGW-w64 files that build the programs:
#  - the exports of each system DLL the programs may import, from its import library
#    (lib<dll>.a of the i686 and the x86_64 sysroot); the C runtime is crtdll.dll on
#    i686 (libcrtdll.a), the one Windows 95, Win32s and Windows NT 3.x carry, and
#    msvcrt.dll on x86_64;
#  - the first Windows version of each function the headers declare only from a version
#    on (#if _WIN32_WINNT >= 0x0600, WINVER, NTDDI_VERSION), and of the later functions
#    they leave unmarked (unmarked_newer.txt beside this script).
# usage: make-winapi-table.sh INCLUDE_DIR I686_LIB_DIR X86_64_LIB_DIR OUT
set -eu
include=$1 lib32=$2 lib64=$3 out=$4
unmarked=$(dirname "$0")/unmarked_newer.txt

# The system DLLs the programs may import; every one is part of Windows NT 4.0.
DLLS="kernel32 user32 gdi32 advapi32 comctl32 comdlg32 ole32 oleaut32 shell32 version"

# exports LIB MASK DLL: "DLL name mask" for each function of an import library. The
# import symbols are "__imp_" and the name as the linker sees it: on i686 with a leading
# "_" and, for stdcall, a trailing "@bytes".
exports() {
    [ -f "$1" ] || { echo "make-winapi-table: $1 is missing" >&2; exit 1; }
    nm -g --defined-only "$1" 2>/dev/null |
        awk -v mask="$2" -v dll="$3" '$2 == "I" && $3 ~ /^__imp_/ {
            n = substr($3, 7)
            if (mask == 1) { sub(/^_/, "", n); sub(/@[0-9]+$/, "", n) }
            print dll, n, mask }'
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
{
    for dll in $DLLS; do
        exports "$lib32/lib$dll.a" 1 "$dll.dll"
        exports "$lib64/lib$dll.a" 2 "$dll.dll"
    done
    exports "$lib32/libcrtdll.a" 1 crtdll.dll
    exports "$lib64/libmsvcrt.a" 2 msvcrt.dll
} >"$tmp/exports"

# The guards: a stack of the version each open #if asks for; a declaration counts under
# the highest. "#if X < V" guards its #else part instead.
awk '
function version(cond,   m, v) {
    if (cond ~ /\|\|/) return 0  # another way in besides the version: no guard
    if (match(cond, /(_WIN32_WINNT|WINVER)[ \t]*>=?[ \t]*(0x[0-9A-Fa-f]+|_WIN32_WINNT_[A-Z0-9]+)/)) {
        m = substr(cond, RSTART, RLENGTH); sub(/.*>=?[ \t]*/, "", m)
        return number(m)
    }
    if (match(cond, /NTDDI_VERSION[ \t]*>=?[ \t]*NTDDI_[A-Z0-9]+/)) {
        m = substr(cond, RSTART, RLENGTH); sub(/.*NTDDI_/, "", m)
        return ntddi[m] + 0
    }
    if (match(cond, /NTDDI_VERSION[ \t]*>=?[ \t]*0x[0-9A-Fa-f]+/)) {  # 0x06000000: Vista
        m = substr(cond, RSTART, RLENGTH); sub(/.*>=?[ \t]*/, "", m)
        return int(strtonum_hex(m) / 65536)
    }
    return 0
}
function below(cond,   m) {
    if (cond ~ /\|\|/) return 0
    if (match(cond, /(_WIN32_WINNT|WINVER)[ \t]*<[ \t]*(0x[0-9A-Fa-f]+|_WIN32_WINNT_[A-Z0-9]+)/)) {
        m = substr(cond, RSTART, RLENGTH); sub(/.*<[ \t]*/, "", m)
        return number(m)
    }
    return 0
}
function number(s) {
    if (s in named) return named[s]
    return strtonum_hex(s)
}
function strtonum_hex(s,   i, c, v) {
    s = tolower(s); sub(/^0x/, "", s); v = 0
    for (i = 1; i <= length(s); i++) { c = index("0123456789abcdef", substr(s, i, 1)) - 1; v = v * 16 + c }
    return v
}
function current(   i, v) { v = 0; for (i = 1; i <= depth; i++) if (need[i] > v) v = need[i]; return v }
function declare(name, v) { if (!(name in first) || v < first[name]) first[name] = v }
BEGIN {
    named["_WIN32_WINNT_NT4"] = 1024; named["_WIN32_WINNT_WIN2K"] = 1280; named["_WIN32_WINNT_WINXP"] = 1281
    named["_WIN32_WINNT_WS03"] = 1282; named["_WIN32_WINNT_VISTA"] = 1536; named["_WIN32_WINNT_LONGHORN"] = 1536
    named["_WIN32_WINNT_WIN7"] = 1537; named["_WIN32_WINNT_WIN8"] = 1538; named["_WIN32_WINNT_WINBLUE"] = 1539
    named["_WIN32_WINNT_WIN10"] = 2560
    ntddi["WIN2K"] = 1280; ntddi["WINXP"] = 1281; ntddi["WS03"] = 1282; ntddi["VISTA"] = 1536
    ntddi["LONGHORN"] = 1536; ntddi["WIN7"] = 1537; ntddi["WIN8"] = 1538; ntddi["WINBLUE"] = 1539
    ntddi["WIN10"] = 2560
}
FNR == 1 { depth = 0; pending = 0 }
/^[ \t]*#[ \t]*if/ {
    depth++
    if ($0 ~ /#[ \t]*if[ \t(]/) { need[depth] = version($0); other[depth] = below($0) }
    else { need[depth] = 0; other[depth] = 0 }
    next
}
/^[ \t]*#[ \t]*elif/ { need[depth] = version($0); other[depth] = below($0); next }
/^[ \t]*#[ \t]*else/ { need[depth] = other[depth]; other[depth] = 0; next }
/^[ \t]*#[ \t]*endif/ { if (depth > 0) depth--; next }
{
    line = $0
    if (pending) {
        if (match(line, /^[ \t]*[A-Za-z_][A-Za-z0-9_]*[ \t]*\(/)) {
            n = substr(line, RSTART, RLENGTH); gsub(/[ \t(]/, "", n); declare(n, current())
        }
        pending = 0
    }
    if (match(line, /(WINAPI|WINAPIV|APIENTRY|NTAPI|STDAPI|STDAPI_\([^)]*\)|WINOLEAPI|WINOLEAPI_\([^)]*\))[ \t]+[A-Za-z_][A-Za-z0-9_]*[ \t]*\(/)) {
        n = substr(line, RSTART, RLENGTH); sub(/[ \t]*\($/, "", n); sub(/.*[ \t)]/, "", n)
        declare(n, current())
    } else if (line ~ /(WINAPI|APIENTRY|NTAPI)[ \t]*$/) {
        pending = 1
    }
}
END { for (n in first) if (first[n] > 1024) printf "%s %d\n", n, first[n] }
' "$include"/*.h >"$tmp/guarded"
# The headers' guard wins where there is one.
awk 'FNR == NR { seen[$1] = 1; print; next }
     /^[A-Za-z_]/ && !($1 in seen) { printf "%s %d\n", $1, strtonum_hex($2) }
     function strtonum_hex(s,   i, v) {
         s = tolower(s); sub(/^0x/, "", s); v = 0
         for (i = 1; i <= length(s); i++) v = v * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
         return v }' "$tmp/guarded" "$unmarked" | sort >"$tmp/since"

{
    echo "// Made by tools/cdcheck/make-winapi-table.sh from the MinGW-w64 headers and import"
    echo "// libraries of the build machine; not edited by hand."
    echo "#define LUMORA_WINAPI_EXPORTS \\"
    awk '{ k = $1 " " $2; if (!((k, $3) in seen)) { seen[k, $3] = 1; mask[k] += $3 } }
        END { for (k in mask) print k, mask[k] }' \
        "$tmp/exports" | sort | awk '{ printf "    {\"%s\", \"%s\", %d}, \\\n", $1, $2, $3 }'
    echo ""
    echo "#define LUMORA_WINAPI_SINCE \\"
    awk '{ printf "    {\"%s\", 0x%04x}, \\\n", $1, $2 }' "$tmp/since"
    echo ""
} >"$out.new"
mv "$out.new" "$out"
