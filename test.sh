#!/usr/bin/env bash
# Sets up everything that is missing, builds everything (the game, tools, tests
# and benchmarks), and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install_deps.sh
scripts/build.sh
cd build
ctest --output-on-failure -j2 --timeout 600
