#!/usr/bin/env bash
# Prints the lines of C++ (.cpp and .h, every line counted) under tests/ against those of the
# product folders, and their ratio. Benchmarks, fuzz targets and scripts count on neither side.
# Usage: scripts/test-ratio.sh
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -- "$@" | grep -E '\.(cpp|h)$' | xargs -r cat | wc -l; }
tests=$(count tests)
product=$(count app serializeme swfplayer platform game flash gui tools)
echo "tests $tests, product $product, ratio $((100 * tests / product))%"
