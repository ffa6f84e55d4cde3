#!/usr/bin/env bash
# Sets up everything that is missing, builds, and starts the game full screen.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install_deps.sh
scripts/build.sh
exec build/teramon2
