#!/usr/bin/env bash
# Installs what is missing, builds Pondorix and runs the whole test suite under a virtual X
# display, with sound going to OpenAL's null output; then builds the fuzz targets with clang and
# runs each for a few seconds. Each build and each run prints its time.
# Usage: scripts/run-tests.sh [--sanitize]   (the AddressSanitizer/UBSan build with --sanitize)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/stage.sh
scripts/install-deps.sh

export ALSOFT_DRIVERS=null
# The leak check is on by default; ASAN_OPTIONS stays unset so that a test program's own default
# options (the window tests turn the leak check off for Mesa's driver) take effect.
unset ASAN_OPTIONS
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The X server never resets itself: one that does drops the connections made while it resets,
# whenever its last client has left.
run_ctest() {
  (cd "$1" && xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
     ctest --output-on-failure --parallel "$(nproc)" --timeout 300)
}

# Builds with scripts/build.sh's arguments, then runs the suite of that build.
build_and_run() {
  local folder
  folder=$(stage "build${1:+ $1}" scripts/build.sh "$@" | tail -n 1)
  stage "ctest $folder" run_ctest "$folder"
}

build_and_run "$@"
if [ "${1:-}" != "--sanitize" ]; then
  build_and_run --fuzz
fi
