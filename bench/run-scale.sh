#!/bin/sh
# Runs the scale benchmarks (bench_scale) and prints one line per target: the measured ratio,
# the limit and "met" or "not met". Usage: bench/run-scale.sh [build directory]
# Each benchmark runs in a process of its own, so memory and caches of one do not count in another.
# Times are processor times of the program's thread (wall times beside them): the program is
# single-threaded, and on a busy machine the wall times measure the other processes as well.
set -eu
build=${1:-build}
program="$build/bench/bench_scale"
if [ ! -x "$program" ]; then
    echo "no $program: build the target bench_scale first" >&2
    exit 1
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
n=0
for filter in '^BM_FullReadGoods/' '^BM_StartUp/' '^BM_Activation/' '^BM_MemoryAfterStartUp'; do
    n=$((n + 1))
    QT_QPA_PLATFORM=offscreen "$program" --benchmark_filter="$filter" \
        --benchmark_out="$out/$n.json" --benchmark_out_format=json >/dev/null
done
python3 - "$out" <<'PY'
import glob, json, sys

runs = {}
for path in sorted(glob.glob(sys.argv[1] + "/*.json")):
    for b in json.load(open(path))["benchmarks"]:
        runs[b["name"]] = b

def ms(name, kind="cpu_time"):
    b = runs[name]
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    return b[kind] * scale

def wall(name):
    return ms(name, "real_time")

def line(target, ratio, limit, detail):
    verdict = "met" if ratio <= limit else "not met"
    print(f"{target}: {ratio:.3f} (at most {limit}) {verdict}  [{detail}]")

full = ms("BM_FullReadGoods/0")
start = ms("BM_StartUp/0/1")
line("start-up to the main window shown / one reconnect-and-requery of 表1 (100,000 + 100,000)",
     start / full, 1.5, f"{start:.0f} ms / {full:.0f} ms (wall {wall('BM_StartUp/0/1'):.0f} ms / "
     f"{wall('BM_FullReadGoods/0'):.0f} ms); without the table cache {ms('BM_StartUp/0/0'):.0f} ms")
same = ms("BM_Activation/0/1/0")
changed = ms("BM_Activation/0/1/1")
line("activation of a window whose table has not changed / a full read (100,000)",
     same / changed, 0.05, f"{same:.2f} ms / {changed:.0f} ms (wall "
     f"{wall('BM_Activation/0/1/0'):.2f} ms / {wall('BM_Activation/0/1/1'):.0f} ms)")
mem = runs["BM_MemoryAfterStartUp/iterations:1"]
line("memory after start-up / text of one copy of 表1 and 表3", mem["growthPerText"], 1.5,
     f"{mem['growthBytes'] / 2**20:.1f} MB more than on the demo shop, text "
     f"{mem['textBytes'] / 2**20:.1f} MB, of it rows {mem['rowsBytes'] / 2**20:.1f} MB and "
     f"database engine {mem['sqliteBytes'] / 2**20:.1f} MB; the whole process "
     f"{mem['residentBytes'] / 2**20:.1f} MB")
line("demo shop: start-up / start-up without the table cache", ms("BM_StartUp/1/1") /
     ms("BM_StartUp/1/0"), 1.05, f"{ms('BM_StartUp/1/1'):.1f} ms / "
     f"{ms('BM_StartUp/1/0'):.1f} ms; 5% for noise")
line("demo shop: activation / activation without the table cache",
     ms("BM_Activation/1/1/0") / ms("BM_Activation/1/0/0"), 1.05,
     f"{ms('BM_Activation/1/1/0'):.2f} ms / {ms('BM_Activation/1/0/0'):.2f} ms; 5% for noise")
PY
