#!/usr/bin/env bash
# Sets up what the game needs and is missing, builds the game, and starts it full screen.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install_deps.sh --for-game
scripts/build.sh --game-only
exec build/teramon2
