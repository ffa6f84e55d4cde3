#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/) and runs it through CTest. Any sanitizer report stops the test
# that hit it, so any report fails this script. Nothing is excluded: the speech
# and MeCab integration tests run against the real engines too.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-asan}
jobs=${TERAMON_JOBS:-2}
start=$(date +%s)

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTERAMON_SANITIZE=ON -DTERAMON_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$jobs"
# The speech integration tests need the voices beside the program.
scripts/fetch_voices.sh "$BUILD"

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Suppressed leaks (system libraries only) are listed, with the reason, in lsan.supp.
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=1
cd "$BUILD"
status=0
ctest --output-on-failure -j"$jobs" --timeout 900 || status=$?
echo "sanitize.sh: $(( $(date +%s) - start )) s, ctest exit $status"
exit $status
