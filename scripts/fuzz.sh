#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each for N
# seconds (default 30) from its committed seed corpus. New inputs go to a
# scratch corpus in build-fuzz/, not into the repository. Any crash, leak,
# sanitizer report or broken property fails the script; the input that did it
# is kept as build-fuzz/artifacts/<target>/crash-*.
#
#   scripts/fuzz.sh            30 s per target (CI)
#   scripts/fuzz.sh 3600       the long run
#   TERAMON_FUZZ_TARGETS="ini cp932" scripts/fuzz.sh 60
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-30}
BUILD=${TERAMON_FUZZ_BUILD:-build-fuzz}
jobs=${TERAMON_JOBS:-2}
targets=${TERAMON_FUZZ_TARGETS:-$(ls tests/fuzz/fuzz_*.cpp | sed 's|.*/fuzz_||; s|\.cpp$||')}

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTERAMON_FUZZ=ON -DTERAMON_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$jobs" --target $(for t in $targets; do printf 'fuzz_%s ' "$t"; done)

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
failed=0
summary=""
for t in $targets; do
  work="$BUILD/corpus/$t"
  artifacts="$BUILD/artifacts/$t"
  mkdir -p "$work" "$artifacts"
  log="$BUILD/fuzz_$t.log"
  status=0
  "$BUILD/fuzz_$t" -max_total_time="$SECONDS_EACH" -timeout=25 -rss_limit_mb=2048 \
    -max_len=8192 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$work" "tests/fuzz/corpus/$t" >"$log" 2>&1 || status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "fuzz_$t: FAILED (exit $status) after $runs runs; see $log and $artifacts/" >&2
    grep -m5 -E 'ERROR|runtime error|property broken|SUMMARY' "$log" >&2 || true
  fi
  summary+="fuzz_$t: $runs runs in ${SECONDS_EACH} s, exit $status"$'\n'
done
printf '%s' "$summary"
exit $failed
