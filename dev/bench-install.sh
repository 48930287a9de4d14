#!/bin/bash
# Whole-installation benchmark, run by hand (minutes, and about 1.2 GB of disk):
#   dev/bench-install.sh [BUILD_DIR] [REPEATS] [--profile]   (default build/mingw64, 1)
# Runs the programs of a Windows build (`make build` makes them, the timers in bench/).
# Builds a publisher CD of about 300 MB in 5,000 files spread over the trees the setup
# installs (common, common20, plugins, forms, docs, publish, data, templates, cgi-bin,
# _red40\bin and filters, the Solaris platform), then in one Wine session on a private
# Xvfb:
#   - starts setup.exe several times and times its first dialog, next to a bare dialog
#     program, with Wine already running (median);
#   - installs the CD with setup.exe, the destination dialog answered by the GUI driver
#     (a fresh folder, Solaris ticked), timed from the start to search.exe's start;
#   - copies the same CD with the setup's own CopyTree alone (in-process), with Wine's
#     own xcopy /e /i /y /q, and with cp -r on the host;
#   - once, installs the small sample CD the same way: the cost of the steps besides
#     copying (browsers, plug-ins, registry, shortcuts, viewer control).
# The last line gives the ratios; with --profile, one traced installation and one traced
# xcopy follow, and dev/relay-profile.py shows where their time went, call by call.
# Every Wine process and the Xvfb end with the run, and
# its folder (CD, prefix, copies) is removed.
[ -n "${BASH_VERSION:-}" ] || exec bash "$0" "$@"
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
profile=0
args=()
for arg in "$@"; do
    if [ "$arg" = --profile ]; then profile=1; else args+=("$arg"); fi
done
build=${args[0]:-$root/build/mingw64}
repeats=${args[1]:-1}
build=$(cd "$build" && pwd)
for f in setup.exe tests/e2e/e2e_testdlg.exe bench/install_timer.exe bench/copytree_timer.exe; do
    [ -f "$build/$f" ] || { echo "bench-install: $build/$f is not built" >&2; exit 1; }
done
# shellcheck source=../tools/rig/rig.sh
. "$root/tools/rig/rig.sh"
RIG_WINE_TIMEOUT=900
rig_start "$build" bench-install

tools="$WINEPREFIX/drive_c/bench-tools"
mkdir -p "$tools"
# The timers are built with the rest of the Windows build (bench/); the setup's own
# tree copy alone tells the copy from the other steps.
cp "$build/bench/install_timer.exe" "$build/bench/copytree_timer.exe" \
    "$build/tests/e2e/e2e_testdlg.exe" "$tools/"

echo "building the CDs"
# The sample CD as it is: what the setup's steps cost besides copying many files.
small_cd="$RIG_RUN/cd-small"
# (Made writable, then read-only by hand: an immutable tree would outlive the run.)
"$root/dev/make-sample-cd.sh" --publisher --writable "$build" "$small_cd"
chmod -R a-w "$small_cd"
cd_dir="$RIG_RUN/cd"
# Only the trees this installation copies stay on the CD, so that xcopy of the whole CD
# and the setup copy the same files.
"$root/dev/make-sample-cd.sh" --publisher --writable \
    --remove _red40/lang --remove _red40/perl --remove _sun441 --remove _hpux11 \
    --remove _rs6k41 --remove _aosf32 --remove _irix62 --remove _isvr4 --remove _mac \
    "$build" "$cd_dir"
python3 - "$cd_dir" <<'PY'
import os, random, sys
cd = sys.argv[1]
rng = random.Random(2026)
# Files per tree, as a publisher's CD spreads them: most in the shared trees.
trees = [("common", 1200), ("common20", 400), ("plugins", 200), ("forms", 300),
         ("docs", 800), ("publish", 600), ("data", 600), ("templates", 200),
         ("cgi-bin", 50), ("_red40/bin", 150), ("_red40/filters", 150),
         ("_ssol26/bin", 200), ("_ssol26/filters", 150)]
total_files = sum(n for _, n in trees)
assert total_files == 5000
# Mostly small pages and scripts, some large indexes and programs, 300 MB in all.
sizes = [rng.randint(1024, 32768) if rng.random() < 0.8 else rng.randint(100000, 1500000)
         for _ in range(total_files)]
scale = 300e6 / sum(sizes)
sizes = [max(1, int(s * scale)) for s in sizes]
pool = os.urandom(4 << 20)
i = 0
for tree, count in trees:
    for n in range(count):
        folder = os.path.join(cd, tree, "g%02d" % (n % 10), "s%d" % (n % 3))
        os.makedirs(folder, exist_ok=True)
        size = sizes[i]
        start = rng.randint(0, len(pool) - size) if size < len(pool) else 0
        with open(os.path.join(folder, "f%04d.dat" % n), "wb") as f:
            f.write(pool[start:start + size] if size <= len(pool) else (pool * 2)[:size])
        i += 1
PY
chmod -R a-w "$cd_dir"
rig_map_cd "$cd_dir"
read -r cd_files cd_mb < <(find "$cd_dir" -type f -printf '%s\n' |
    awk '{ n++; s += $1 } END { printf "%d %.0f\n", n, s / 1e6 }')
echo "CD: $cd_files files, $cd_mb MB"

timer() {
    rig_wine "$RIG_RUN/timer.out" "$RIG_RUN/timer.err" "$tools/install_timer.exe" "$@" || {
        echo "bench-install: install_timer $1 failed:" >&2
        tr -d '\r' <"$RIG_RUN/timer.out" >&2
        exit 1
    }
    tr -d '\r' <"$RIG_RUN/timer.out"
}
seconds() { awk '$1 == "seconds" { print $2 }'; }
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Wine stays up for the whole run: the first program after it starts pays about a
# second that no figure below should carry.
wineserver -p
# The rig's prefix lets Wine manage its windows itself, so a hidden window costs no
# wait for a window manager that is not there.
timer first-dialog 1 'C:\bench-tools' Bare 'C:\bench-tools\e2e_testdlg.exe Bare' \
    >/dev/null

echo "first dialog, 7 starts each (the setup before it installed anything)"
bare=$(timer first-dialog 7 'C:\bench-tools' Bare \
    'C:\bench-tools\e2e_testdlg.exe Bare' | seconds)
first=$(timer first-dialog 7 'D:\_red40\bin' @destination \
    'D:\_red40\bin\setup.exe' | seconds)
echo "  bare dialog program: median $bare s"
echo "  setup.exe:           median $first s"

dest="$WINEPREFIX/drive_c/bench"
clear_destination() {
    chmod -R u+w "$dest" 2>/dev/null || true
    rm -rf "$dest"
    mkdir -p "$dest"
}
fresh() {
    clear_destination
    # Dirty pages of the previous copy are written out before the next clock starts.
    sync
    # Meanwhile the host may have dropped Wine's libraries from its cache (here the next
    # program then started 0.3 s late, reading them again): a setup cancelled at its
    # first dialog and a one-file xcopy bring back what each kind of program loads.
    timer first-dialog 1 'D:\_red40\bin' @destination \
        'D:\_red40\bin\setup.exe' >/dev/null
    timer run 'xcopy D:\search.ini C:\bench-tools\ /y /q' >/dev/null
}
forget_installation() {
    # The reinstall question of the next run would stand in the way.
    rm -rf "$WINEPREFIX/drive_c/users"/*/"Start Menu/Programs/Lumora Sample" \
        "$WINEPREFIX/drive_c/users"/*/AppData/Roaming/Microsoft/Windows/"Start Menu/Programs/Lumora Sample"
}

rig_map_cd "$small_cd"
fresh
small=$(timer install 'C:\bench\install' IDC_SOLARIS | seconds)
forget_installation
echo "setup.exe on the sample CD ($(find "$small_cd" -type f | wc -l) files): $small s"
rig_map_cd "$cd_dir"

measure_install() {
    fresh
    out=$(timer install 'C:\bench\install' IDC_SOLARIS)
    install_times+=("$(echo "$out" | seconds)")
    installed=$(find "$dest/install" -type f | wc -l)
    echo "run $run: setup.exe installed $installed files in ${install_times[-1]} s" \
        "(its dialog came after $(echo "$out" | awk '$1 == "first" { print $3 }') s)"
    forget_installation
}
measure_copytree() {
    fresh
    ct=$(rig_wine "$RIG_RUN/ct.out" "$RIG_RUN/ct.err" "$tools/copytree_timer.exe" copytree \
        'D:\' 'C:\bench\copytree' && tr -d '\r' <"$RIG_RUN/ct.out" | seconds)
    copytree_times+=("$ct")
    echo "run $run: CopyTree alone copied $(find "$dest/copytree" -type f | wc -l) files in" \
        "$ct s"
}
measure_xcopy() {
    fresh
    xcopy_times+=("$(timer run 'xcopy D:\ C:\bench\xcopy /e /i /y /q' | seconds)")
    echo "run $run: xcopy copied $(find "$dest/xcopy" -type f | wc -l) files in" \
        "${xcopy_times[-1]} s"
}
measure_cp() {
    fresh
    t0=$(date +%s.%N)
    cp -r "$cd_dir/." "$dest/cp"
    t1=$(date +%s.%N)
    cp_times+=("$(echo "$t0 $t1" | awk '{ printf "%.3f", $2 - $1 }')")
    echo "run $run: cp -r copied $(find "$dest/cp" -type f | wc -l) files in ${cp_times[-1]} s"
}

install_times=() copytree_times=() xcopy_times=() cp_times=()
# The four take turns at going first, so that none always follows the same one (the
# host's copy leaves the disk busiest).
tools_in_turn=(install copytree xcopy cp)
for run in $(seq "$repeats"); do
    for i in 0 1 2 3; do
        "measure_${tools_in_turn[$(((run - 1 + i) % 4))]}"
    done
done
clear_destination

install=$(printf '%s\n' "${install_times[@]}" | median)
copytree=$(printf '%s\n' "${copytree_times[@]}" | median)
xcopy=$(printf '%s\n' "${xcopy_times[@]}" | median)
cp=$(printf '%s\n' "${cp_times[@]}" | median)
echo "medians: install $install s, CopyTree alone $copytree s, xcopy $xcopy s, cp -r $cp s;" \
    "the other steps of a run about $small s"
awk -v i="$install" -v t="$copytree" -v x="$xcopy" -v c="$cp" -v f="$first" -v b="$bare" 'BEGIN {
    printf "ratios: install/xcopy %.2fx CopyTree/xcopy %.2fx first dialog/bare %.2fx;" \
        " install/cp %.1fx\n", i / x, t / x, f / b, i / c }'

[ "$profile" = 1 ] || exit 0
# Wine's relay trace of the calls that copying and the other steps make, from the
# programs measured (not from Wine's own libraries, whose inner calls would count twice,
# nor from the timer's polls, nor from the menu builder that Wine starts beside the setup
# for each shortcut made). A program is named with its extension, a DLL without.
echo "profile: one traced run each"
traced_calls="KERNEL32.CopyFileA;KERNEL32.CopyFileW;KERNEL32.SetFileAttributesA"
traced_calls+=";KERNEL32.SetFileAttributesW;KERNEL32.SetCurrentDirectoryA"
traced_calls+=";KERNEL32.CreateDirectoryA;KERNEL32.CreateDirectoryW"
traced_calls+=";KERNEL32.FindFirstFileA;KERNEL32.FindFirstFileW;KERNEL32.FindNextFileA"
traced_calls+=";KERNEL32.FindNextFileW;KERNEL32.LoadLibraryA;KERNEL32.CreateProcessA"
traced_calls+=";KERNEL32.CreateFileA;user32.DialogBoxParamA;user32.CreateDialogParamA"
traced_calls+=";user32.DestroyWindow;advapi32.RegSetValueExA;ole32.CoInitialize"
traced_calls+=";combase.CoCreateInstance"
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ /d "$traced_calls" /f \
    >/dev/null 2>&1
untraced_callers="winex11.drv;winemac.drv;user32;gdi32;advapi32;kernel32;kernelbase"
untraced_callers+=";combase;ole32;shell32;install_timer.exe;winemenubuilder.exe"
wine reg add 'HKCU\Software\Wine\Debug' /v RelayFromExclude /t REG_SZ \
    /d "$untraced_callers" /f >/dev/null 2>&1
fresh
out=$(WINEDEBUG=+timestamp,+relay timer install 'C:\bench\install' IDC_SOLARIS)
python3 "$root/dev/relay-profile.py" "$RIG_RUN/timer.err" "$(echo "$out" | seconds)" \
    "setup.exe, start to search.exe's start"
forget_installation
fresh
out=$(WINEDEBUG=+timestamp,+relay timer run 'xcopy D:\ C:\bench\xcopy /e /i /y /q')
python3 "$root/dev/relay-profile.py" "$RIG_RUN/timer.err" "$(echo "$out" | seconds)" \
    "xcopy /e /i /y /q"
clear_destination
