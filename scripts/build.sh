#!/usr/bin/env bash
# Configures and builds Pondorix into a build folder.
# Usage: scripts/build.sh [--sanitize]   (build/ or, with --sanitize, build-asan/)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  build_dir=build-asan
  cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DPONDORIX_SANITIZE=ON -DPONDORIX_BENCH=OFF)
fi

cmake -S . -B "$build_dir" "${cmake_args[@]}" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
echo "$build_dir"
