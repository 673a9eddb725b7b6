#!/usr/bin/env bash
# Start-up of quillet, scrivet and parlet beside Wine's own notepad, in one run
# (bench/startup_bench.cpp): builds, prepares the prefix, registers the stand-ins, starts a
# private Xvfb and Wine, and runs the benchmark: `bash scripts/startup_bench.sh [starts]`.
set -euo pipefail
. "$(dirname "$0")/common.sh"
prepare_run
# The Wine processes it starts inherit the start without address randomisation.
LOCPATH="$LOCALE_DIR" LC_ALL=zh_CN.UTF-8 $NORANDOM "$NATIVE_BUILD/bench/startup_bench" "$BUILD" "$@"
