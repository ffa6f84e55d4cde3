#!/usr/bin/env bash
# Builds the benchmarks (build-bench/) and runs every bench/* program with five
# repetitions, then prints a Markdown table of the medians (and the counters the
# benchmarks report, such as peak memory of a whole game).
#   scripts/bench.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-bench}
jobs=${TERAMON_JOBS:-2}
benches=$(ls bench/*.cpp | sed 's|bench/||; s|\.cpp$||')

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERAMON_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD" -j"$jobs" --target $benches program_data
scripts/fetch_voices.sh "$BUILD"   # bench_speech needs the voices beside the program

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
results="$BUILD/bench_results"
mkdir -p "$results"
for b in $benches; do
  echo "running $b" >&2
  run=("$BUILD/$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
       --benchmark_format=json --benchmark_out="$results/$b.json" --benchmark_out_format=json)
  # The window-renderer benchmarks need an X server; use Xvfb when there is none.
  if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1920x1080x24" "${run[@]}" >/dev/null
  else
    "${run[@]}" >/dev/null
  fi
done

python3 - "$results" <<'PY'
import json, os, sys
folder = sys.argv[1]
print("| benchmark | median | unit | counters (median) |")
print("|---|---:|---|---|")
skip = {"name", "run_name", "run_type", "repetitions", "repetition_index", "threads", "iterations",
        "real_time", "cpu_time", "time_unit", "aggregate_name", "aggregate_unit", "family_index",
        "per_family_instance_index", "error_occurred", "error_message"}
for f in sorted(os.listdir(folder)):
    if not f.endswith(".json"):
        continue
    data = json.load(open(os.path.join(folder, f)))
    for b in data["benchmarks"]:
        if b.get("aggregate_name", "median") != "median":
            continue
        if b.get("error_occurred"):
            print(f"| {b['name']} | error | | {b.get('error_message','')} |")
            continue
        counters = ", ".join(f"{k} {v:.4g}" for k, v in b.items() if k not in skip and isinstance(v, (int, float)))
        print(f"| {b['run_name'] if 'run_name' in b else b['name']} | {b['real_time']:.4g} | {b['time_unit']} | {counters} |")
PY
