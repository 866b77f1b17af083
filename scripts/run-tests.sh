#!/usr/bin/env bash
# Installs what is missing, builds Pondorix and runs the whole test suite under a virtual X
# display, with sound going to OpenAL's null output: every test case in a process of its own, and
# each test program once more with all its cases in one process. With --sanitize the build is the
# AddressSanitizer/UBSan build, whose suite also runs each fuzz target for a few seconds. The build
# and the run each print their time.
# Usage: scripts/run-tests.sh [--sanitize]
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
# whenever its last client has left. A failed test's output keeps its start and its end, where a
# whole program's summary names the cases that failed.
run_ctest() {
  (cd "$1" && xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
     ctest --output-on-failure --test-output-truncation middle --parallel "$(nproc)" --timeout 300)
}

folder=$(stage "build${1:+ $1}" scripts/build.sh "$@" | tail -n 1)
stage "ctest $folder" run_ctest "$folder"
