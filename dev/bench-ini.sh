#!/bin/sh
# Runs the INI benchmark of the bench preset's build (`make bench` builds it first): the
# INI store, inih and SimpleIni on the same generated 1 MB and 32 MB files. Prints the
# ratios as its last line; peak is the larger of the two files' store sizes over the file.
# Ratios compare CPU times of one run: the machine is shared, so only ratios mean much.
# usage: sh dev/bench-ini.sh [BUILD_DIR]   (default build/bench)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build/bench"}
[ -x "$build/bench/ini_bench" ] || { echo "bench-ini: $build/bench/ini_bench is not built" >&2; exit 1; }
json="$build/ini_bench.json"
"$build/bench/ini_bench" --benchmark_out="$json" --benchmark_out_format=json
python3 - "$json" <<'PY'
import json, sys
runs = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
def cpu(name): return runs[name]["cpu_time"]
load, inih, simple = cpu("BM_Load_inifile/1"), cpu("BM_Load_inih/1"), cpu("BM_Load_SimpleIni/1")
small = cpu("BM_Load_inih/0") / cpu("BM_Load_inifile/0")
save = runs["BM_Save_inifile/1"]["bytes_per_second"] / 2**20
save_si = runs["BM_Save_SimpleIni/1"]["bytes_per_second"] / 2**20
lookups = cpu("BM_Lookup_SimpleIni/1") / cpu("BM_Lookup_inifile/1")
peak = max(runs["BM_Load_inifile/%d" % size]["peak_x_file"] for size in (0, 1))
print("lookups 32MB inifile/SimpleIni %.2fx; save SimpleIni %.0f MB/s" % (lookups, save_si))
print("ratios: load 1MB inifile/inih %.1fx; load 32MB inifile/inih %.1fx, inifile/SimpleIni %.1fx;"
      " save %.0f MB/s; peak %.2fx file" % (small, inih / load, simple / load, save, peak))
PY
