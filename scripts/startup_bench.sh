#!/usr/bin/env bash
# Start-up of quillet, scrivet and parlet beside Wine's own notepad, in one run
# (bench/startup_bench.cpp): builds, prepares the prefix, registers the stand-ins, starts a
# private Xvfb and Wine, and runs the benchmark: `bash scripts/startup_bench.sh [starts]`.
set -euo pipefail
. "$(dirname "$0")/common.sh"
install_packages
build_all
make_prefix
register_standins
USE_XVFB=1 start_display
trap stop_all EXIT
start_wine
LOCPATH="$LOCALE_DIR" LC_ALL=zh_CN.UTF-8 "$NATIVE_BUILD/bench/startup_bench" "$BUILD" "$@"
