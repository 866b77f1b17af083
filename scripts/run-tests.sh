#!/usr/bin/env bash
# Installs what is missing, builds Pondorix and runs the whole test suite under a virtual X
# display, with sound going to OpenAL's null output.
# Usage: scripts/run-tests.sh [--sanitize]   (the AddressSanitizer/UBSan build with --sanitize)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build_dir=$(scripts/build.sh "$@" | tail -n 1)

export ALSOFT_DRIVERS=null
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build_dir"
xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --output-on-failure --parallel "$(nproc)" --timeout 300
