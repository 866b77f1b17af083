#!/usr/bin/env bash
# Configures and builds Pondorix into a build folder and prints the folder's name last.
# Usage: scripts/build.sh [--sanitize]
#   (none)      build/       the game, its tests and benchmarks; the suite also runs each test
#                            program once as a whole (all its cases in one process)
#   --sanitize  build-asan/  the game and its tests with AddressSanitizer and
#                            UndefinedBehaviorSanitizer, and the fuzz targets as libFuzzer
#                            programs, all built with clang (so the suite runs from code of both
#                            compilers) and from the same objects, which carry the fuzzers'
#                            coverage instrumentation
set -euo pipefail
cd "$(dirname "$0")/.."

# Each build's type, and its flags: those of the type, except that CI (CI=true), which throws its
# builds away once their tests have run, keeps only the debug information its reports use: none in
# the plain build, whose tests name their own file and line, and line tables in the sanitizer
# build, whose reports name the file and line of every frame. The code is the same either way;
# without the rest, CI's builds take about a quarter less time. The sanitizer build keeps its
# assertions and is optimised a little (-O1): its suite then runs in about half the time it takes
# unoptimised, and its fuzzers try more inputs in their seconds.
build_dir=build
build_type=RelWithDebInfo
flags="-O2 -g -DNDEBUG"
ci_flags="-O2 -DNDEBUG"
cmake_args=(-DPONDORIX_WHOLE_PROGRAMS=ON)
case "${1:-}" in
  --sanitize)
    build_dir=build-asan
    build_type=Debug
    flags="-O1 -g"
    ci_flags="-O1 -gline-tables-only"
    cmake_args=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPONDORIX_SANITIZE=ON -DPONDORIX_FUZZ=ON
      -DPONDORIX_BENCH=OFF) ;;
esac
if [ "${CI:-}" = true ]; then
  flags=$ci_flags
fi
type_upper=$(echo "$build_type" | tr '[:lower:]' '[:upper:]')
cmake_args+=("-DCMAKE_BUILD_TYPE=$build_type" "-DCMAKE_C_FLAGS_$type_upper=$flags" "-DCMAKE_CXX_FLAGS_$type_upper=$flags")

cmake -S . -B "$build_dir" "${cmake_args[@]}" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" --target all
echo "$build_dir"
