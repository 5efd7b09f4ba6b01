#!/bin/sh
# Runs the server benchmarks (bench_server) on a private PostgreSQL cluster reached through a
# local socket, and prints one line per target: the measured ratio or time, the limit and "met"
# or "not met". Usage: bench/run-server.sh [build directory]
# The cluster is started in a temporary folder through scripts/pg-cluster.sh, filled by the first
# benchmark with 100,000 goods and 100,000 sales, and stopped at the end. The tests' cluster turns
# durability off; here it is turned on again, as a shop's server has it, so that a sale waits for
# its commit to reach the disk. Times are wall times, the least of several repetitions.
set -eu
build=${1:-build}
program="$build/bench/bench_server"
if [ ! -x "$program" ]; then
    echo "no $program: build the target bench_server first" >&2
    exit 1
fi
command -v psql >/dev/null || { echo "psql is missing: bash scripts/install-deps.sh" >&2; exit 1; }
root=$(cd "$(dirname "$0")/.." && pwd)
cluster=$(mktemp -d /tmp/jxc-bench-pg-XXXXXX)
out=$(mktemp -d)
trap 'bash "$root/scripts/pg-cluster.sh" stop "$cluster" >/dev/null; rm -rf "$out"' EXIT
eval "$(bash "$root/scripts/pg-cluster.sh" start "$cluster" "${JXC_BENCH_PG_PORT:-5439}")"
psql -X -q -c "alter system set fsync = on" -c "alter system set synchronous_commit = on" \
    -c "alter system set full_page_writes = on" -c "select pg_reload_conf()" >/dev/null
psql -X -q -c "create database jxc_bench" >/dev/null
export PGDATABASE=jxc_bench

# The fill comes first, in a run of its own; each measurement then runs in a process of its own.
"$program" --benchmark_filter='^BM_PsqlStart' >/dev/null
n=0
for filter in '^BM_ReadGoods/' '^BM_PsqlCopyGoods' '^BM_PsqlStart' '^BM_ConfirmSale'; do
    n=$((n + 1))
    "$program" --benchmark_filter="$filter" --benchmark_out="$out/$n.json" \
        --benchmark_out_format=json >/dev/null
done
# The sale once more with commits that do not wait for the disk: what the program and the server
# take, without the disk's own time.
psql -X -q -c "alter system set synchronous_commit = off" -c "select pg_reload_conf()" >/dev/null
"$program" --benchmark_filter='^BM_ConfirmSale' --benchmark_out="$out/unsynced.json" \
    --benchmark_out_format=json >/dev/null
python3 - "$out" <<'PY'
import glob, json, sys

def least_runs(paths):
    runs = {}
    for path in paths:
        for b in json.load(open(path))["benchmarks"]:
            if b.get("aggregate_name") == "least":
                runs[b["run_name"]] = b
    return runs

runs = least_runs(sorted(glob.glob(sys.argv[1] + "/[0-9]*.json")))
unsynced = least_runs([sys.argv[1] + "/unsynced.json"])

def find(prefix, within=runs):
    for name, b in within.items():
        if name.startswith(prefix):
            return b
    raise KeyError(prefix)

def ms(prefix, within=runs):
    b = find(prefix, within)
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    return b["real_time"] * scale

def line(target, value, limit, detail):
    verdict = "met" if value <= limit else "not met"
    print(f"{target}: {value:.3f} (at most {limit}) {verdict}  [{detail}]")

requery = ms("BM_ReadGoods/reconnect:1/cache:0")
reopen = ms("BM_ReadGoods/reconnect:0/cache:0")
psql_wall = ms("BM_PsqlCopyGoods")
psql_start = ms("BM_PsqlStart")
psql_copy = find("BM_PsqlCopyGoods")["psqlCopyMs"]
rows = find("BM_ReadGoods/reconnect:1/cache:0")["rows"]
line("requery of 表1 (reconnect-and-requery) / psql copying it to /dev/null, psql's start taken off",
     requery / (psql_wall - psql_start), 1.5,
     f"{requery:.0f} ms / ({psql_wall:.0f} - {psql_start:.0f}) ms, {rows:.0f} rows")
line("the same read on a connection held open / psql's own timing of the copy",
     reopen / psql_copy, 1.5, f"{reopen:.0f} ms / {psql_copy:.0f} ms")
confirm = ms("BM_ConfirmSale")
trips = find("BM_ConfirmSale")["roundTrips"]
line("confirming a sale, 100,000 goods and 100,000 sales (ms)", confirm, 5,
     f"{confirm:.2f} ms, each commit waiting for the disk, {trips:.0f} round trips to the server")
quick = ms("BM_ConfirmSale", unsynced)
line("the same, commits not waiting for the disk (ms)", quick, 5, f"{quick:.2f} ms")
same = ms("BM_ReadGoods/reconnect:1/cache:1")
line("re-read of an unchanged 表1 / a full read (reconnect-and-requery)", same / requery, 0.05,
     f"{same:.2f} ms / {requery:.0f} ms")
same_held = ms("BM_ReadGoods/reconnect:0/cache:1")
line("the same on a connection held open", same_held / reopen, 0.05,
     f"{same_held:.2f} ms / {reopen:.0f} ms")
PY
