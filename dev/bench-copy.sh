#!/bin/sh
# Tree-copy benchmark, run by hand (too slow for the test suite):
#   dev/bench-copy.sh [BUILD_DIR] [REPEATS]     (default build/mingw64, 3)
# Runs the copy timer of a Windows build (bench/copytree_timer.exe, around
# CFileMgr::CopyTree; `make build` makes it), generates two trees in a
# temporary folder (200 files of 1 MB; 20,000 files of 1-8 KB in nested folders) and
# copies each with CopyTree under Wine, with Wine's own xcopy, and with the host's cp -r.
# Each figure is the median of REPEATS runs (default 3; three times as many for the big
# tree). The last line gives the ratios.
# Every Wine process started here ends with its own prefix, and the folder is removed.
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build/mingw64}
repeats=${2:-3}
timer_program="$build/bench/copytree_timer.exe"
[ -f "$timer_program" ] || { echo "bench-copy: $timer_program is not built" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/bench-copy.XXXXXX")
export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

cleanup() {
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cp "$timer_program" "$work/copytree_timer.exe"

echo "generating the trees"
python3 - "$work" <<'PY'
import os, random, sys
work = sys.argv[1]
rng = random.Random(1234)
big = os.path.join(work, "big")
os.makedirs(big)
block = os.urandom(1 << 20)
for i in range(200):
    with open(os.path.join(big, "file%03d.bin" % i), "wb") as f:
        f.write(block[i:] + block[:i])
small = os.path.join(work, "small")
pool = os.urandom(8192 * 2)
count = 0
for a in range(20):
    for b in range(10):
        folder = os.path.join(small, "dir%02d" % a, "sub%02d" % b)
        os.makedirs(folder)
        for c in range(100):
            size = rng.randint(1024, 8192)
            start = rng.randint(0, 8192)
            with open(os.path.join(folder, "f%03d.dat" % c), "wb") as f:
                f.write(pool[start:start + size])
            count += 1
assert count == 20000
PY

echo "starting Wine"
wineboot -i >/dev/null 2>&1
wineserver -w
wineserver -p # stays up between runs, so no run pays the server's start-up

winpath() {
    printf 'Z:%s' "$1" | tr / '\\'
}

now() {
    date +%s.%N
}

# Checks that a copy holds the source's files and bytes (not timed).
check_copy() {
    src_files=$(find "$1" -type f | wc -l)
    dst_files=$(find "$2" -type f 2>/dev/null | wc -l)
    if [ "$src_files" != "$dst_files" ]; then
        echo "copy by $3 is incomplete: $dst_files of $src_files files" >&2
        exit 1
    fi
    src_bytes=$(find "$1" -type f -printf '%s\n' | awk '{s+=$1} END {print s}')
    dst_bytes=$(find "$2" -type f -printf '%s\n' | awk '{s+=$1} END {print s}')
    if [ "$src_bytes" != "$dst_bytes" ]; then
        echo "copy by $3 differs in size: $dst_bytes of $src_bytes bytes" >&2
        exit 1
    fi
}

# Runs the timer program and prints the seconds it reports.
wine_timed() {
    wine "$work/copytree_timer.exe" "$@" >"$work/timer.out" 2>"$work/timer.err" || {
        echo "failed: copytree_timer $*" >&2
        cat "$work/timer.out" "$work/timer.err" >&2
        exit 1
    }
    awk '/^seconds/ {print $2}' "$work/timer.out"
}

# Every copy gets a folder of its own and stays until the end: deleting 20,000 files
# between runs would leave the file system busy during the next one.
time_one() { # tool tree target -> seconds
    src="$work/$2"
    dst=$3
    case $1 in
    cp)
        start=$(now)
        cp -r "$src" "$dst"
        end=$(now)
        echo "$start $end" | awk '{printf "%.3f\n", $2 - $1}'
        ;;
    xcopy)
        wine_timed run xcopy /e /i /y /q "$(winpath "$src")" "$(winpath "$dst")"
        ;;
    copytree)
        wine_timed copytree "$(winpath "$src")" "$(winpath "$dst")"
        ;;
    esac
    check_copy "$src" "$dst" "$1"
}

median() {
    sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'
}

for tree in big small; do
    for tool in cp xcopy copytree; do
        : >"$work/times.$tree.$tool"
    done
done
# The big tree copies in a fraction of a second, so it gets more runs. The tools take
# turns at going first, so that none always follows the same one.
copies=0
run=1
while [ "$run" -le $((repeats * 3)) ]; do
    for tree in big small; do
        [ "$tree" = small ] && [ "$run" -gt "$repeats" ] && continue
        case $((run % 3)) in
        1) order="cp xcopy copytree" ;;
        2) order="xcopy copytree cp" ;;
        0) order="copytree cp xcopy" ;;
        esac
        for tool in $order; do
            copies=$((copies + 1))
            seconds=$(time_one "$tool" "$tree" "$work/copy$copies")
            echo "run $run $tree $tool: $seconds s"
            echo "$seconds" >>"$work/times.$tree.$tool"
        done
    done
    run=$((run + 1))
done

summary=ratios:
for tree in big small; do
    cp_s=$(median <"$work/times.$tree.cp")
    xcopy_s=$(median <"$work/times.$tree.xcopy")
    tree_s=$(median <"$work/times.$tree.copytree")
    echo "median $tree: CopyTree $tree_s s, xcopy $xcopy_s s, cp -r $cp_s s"
    ratios=$(echo "$tree_s $xcopy_s $cp_s" |
        awk '{printf "CopyTree/xcopy %.2fx CopyTree/cp %.2fx", $1 / $2, $1 / $3}')
    [ "$tree" = small ] && summary="$summary;"
    summary="$summary $tree $ratios"
done
echo "$summary"
