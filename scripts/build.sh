#!/usr/bin/env bash
# Configures and builds into build/ (the program folder: build/teramon2 with Data/, f1/, m1/).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
scripts/fetch_voices.sh build
