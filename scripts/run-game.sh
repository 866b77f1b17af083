#!/usr/bin/env bash
# Installs what the game is missing, builds the game (its first build shows its progress) and
# starts it in a window on the user's display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --game
cmake -S . -B build-game -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPONDORIX_TESTS=OFF -DPONDORIX_BENCH=OFF >/dev/null
cmake --build build-game --parallel "$(nproc)" --target pondorix game_data
cd build-game/run
exec ./pondorix
