#!/usr/bin/env bash
# Installs what is missing, builds Pondorix and starts it in a window on the user's display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh >/dev/null
cd build/run
exec ./pondorix
