#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format (the .clang-format at the root)
# makes of it; prints the offending lines.
# Usage: scripts/check-format.sh
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror
