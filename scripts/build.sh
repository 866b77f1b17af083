#!/usr/bin/env bash
# Configures and builds Pondorix into a build folder and prints the folder's name last.
# Usage: scripts/build.sh [--sanitize | --fuzz]
#   (none)      build/       the game, its tests and benchmarks
#   --sanitize  build-asan/  the same with AddressSanitizer and UndefinedBehaviorSanitizer, built
#                            with clang (so the suite runs from code of both compilers)
#   --fuzz      build-fuzz/  the libFuzzer targets only, built with clang
set -euo pipefail
cd "$(dirname "$0")/.."

# Each build's type, and its flags: those of the type, except that CI (CI=true), which throws its
# builds away once their tests have run, keeps only the debug information its reports use: none in
# the plain build, whose tests name their own file and line, and line tables in the sanitizer and
# fuzz builds, whose reports name the file and line of every frame. The code is the same either
# way; without the rest, CI's builds take about a quarter less time.
build_dir=build
build_type=RelWithDebInfo
flags="-O2 -g -DNDEBUG"
ci_flags="-O2 -DNDEBUG"
cmake_args=()
targets=(--target all)
clang=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
case "${1:-}" in
  --sanitize)
    build_dir=build-asan
    build_type=Debug
    flags="-g"
    ci_flags="-gline-tables-only"
    cmake_args=("${clang[@]}" -DPONDORIX_SANITIZE=ON -DPONDORIX_BENCH=OFF) ;;
  --fuzz)
    build_dir=build-fuzz
    ci_flags="-O2 -gline-tables-only -DNDEBUG"
    cmake_args=("${clang[@]}" -DPONDORIX_FUZZ=ON -DPONDORIX_TESTS=OFF -DPONDORIX_BENCH=OFF)
    targets=(--target fuzzers) ;;
esac
if [ "${CI:-}" = true ]; then
  flags=$ci_flags
fi
type_upper=$(echo "$build_type" | tr '[:lower:]' '[:upper:]')
cmake_args+=("-DCMAKE_BUILD_TYPE=$build_type" "-DCMAKE_C_FLAGS_$type_upper=$flags" "-DCMAKE_CXX_FLAGS_$type_upper=$flags")

cmake -S . -B "$build_dir" "${cmake_args[@]}" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" "${targets[@]}"
echo "$build_dir"
