#!/usr/bin/env bash
# Configures and builds Pondorix into a build folder and prints the folder's name last.
# Usage: scripts/build.sh [--sanitize | --fuzz]
#   (none)      build/       the game, its tests and benchmarks
#   --sanitize  build-asan/  the same with AddressSanitizer and UndefinedBehaviorSanitizer
#   --fuzz      build-fuzz/  the libFuzzer targets only, built with clang
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
targets=(--target all)
case "${1:-}" in
  --sanitize)
    build_dir=build-asan
    cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DPONDORIX_SANITIZE=ON -DPONDORIX_BENCH=OFF) ;;
  --fuzz)
    build_dir=build-fuzz
    cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
                -DPONDORIX_FUZZ=ON -DPONDORIX_TESTS=OFF -DPONDORIX_BENCH=OFF)
    targets=(--target fuzzers) ;;
esac

cmake -S . -B "$build_dir" "${cmake_args[@]}" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" "${targets[@]}"
echo "$build_dir"
