#!/usr/bin/env bash
# Builds a tree with clang source-based coverage, runs its whole ctest suite, and writes
# <tree>/build-cov/coverage.lcov (product code only: tests, bench, fuzz and system headers left out).
# Usage: scripts/coverage.sh [tree]      (default: this checkout)
set -euo pipefail
tree=$(cd "${1:-$(dirname "$0")/..}" && pwd)
bd=$tree/build-cov
flags="-fprofile-instr-generate -fcoverage-mapping"
cmake -S "$tree" -B "$bd" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPONDORIX_BENCH=OFF -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
cmake --build "$bd" --parallel 6 >/dev/null
rm -rf "$bd/prof" && mkdir -p "$bd/prof"
(cd "$bd" && LLVM_PROFILE_FILE="$bd/prof/%p-%m.profraw" ALSOFT_DRIVERS=null \
   xvfb-run -a -s "-screen 0 1024x768x24 -noreset" ctest --parallel 6 --timeout 600 -E '^fuzz' >"$bd/ctest.log" 2>&1) \
  || { echo "ctest failed, see $bd/ctest.log"; tail -20 "$bd/ctest.log"; }
llvm-profdata-14 merge -sparse "$bd"/prof/*.profraw -o "$bd/all.profdata"
objects=()
while IFS= read -r exe; do
  if [ ${#objects[@]} -eq 0 ]; then objects+=("$exe"); else objects+=(-object "$exe"); fi
done < <(find "$bd" -type f -executable \( -name 'tests_*' -o -name pondorix -o -name 'make_*' \) -not -path '*/CMakeFiles/*' | sort)
llvm-cov-14 export -format=lcov -instr-profile="$bd/all.profdata" "${objects[@]}" \
  -ignore-filename-regex='^/usr/' 2>/dev/null >"$bd/coverage.lcov"
echo "$bd/coverage.lcov"
