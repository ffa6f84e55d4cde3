#!/usr/bin/env bash
# Configures and builds into build/ (the program folder: build/teramon2 with Data/, f1/, m1/).
#   scripts/build.sh              everything: the game, teramon2-say, the tests and benchmarks
#   scripts/build.sh --game-only  the game alone (teramon2); needs no GoogleTest or Google Benchmark
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
case "${1:-}" in
  "")
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERAMON_BUILD_TESTS=ON -DTERAMON_BUILD_BENCH=ON >/dev/null
    cmake --build build -j"$jobs"
    ;;
  --game-only)
    # A build folder already set up keeps its choice of tests and benchmarks
    # (they stay configured, just not built now); a new one leaves them out.
    if [ -f build/CMakeCache.txt ]; then
      cmake -S . -B build >/dev/null
    else
      cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERAMON_BUILD_TESTS=OFF -DTERAMON_BUILD_BENCH=OFF >/dev/null
    fi
    cmake --build build -j"$jobs" --target teramon2
    ;;
  *) echo "usage: $0 [--game-only]" >&2; exit 2 ;;
esac
scripts/fetch_voices.sh build
