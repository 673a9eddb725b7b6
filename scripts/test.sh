#!/usr/bin/env bash
# Builds everything and runs every test: the native pure-logic tests and fuzzers, and the
# Windows programs and tests under Wine on a private Xvfb display.  Ends with CTest's summary.
set -euo pipefail
. "$(dirname "$0")/common.sh"
prepare_run
log "running tests"
cd "$BUILD"
# A failing test counts the first time.  (The harness itself starts a program again when
# Wine failed to start it at all; nothing else is retried.)
ctest --timeout 300 -j"$JOBS" --output-on-failure "$@"
