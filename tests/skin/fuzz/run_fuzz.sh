#!/usr/bin/env bash
# Runs one skin fuzz target for a fixed time on a copy of its seed corpus, so the fuzzer's
# new inputs go to a temporary folder and never into the build or source tree.
# usage: run_fuzz.sh <fuzzer> <seed folder below fuzz_seeds> <seconds>
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
fuzzer="$here/$1"
seeds="$here/fuzz_seeds/$2"
seconds="$3"
[ -x "$fuzzer" ] || { echo "fuzzer $fuzzer not built" >&2; exit 1; }
[ -d "$seeds" ] && [ -n "$(ls -A "$seeds")" ] || { echo "no seeds in $seeds" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/artifacts"
cp "$seeds"/* "$work/corpus/"
set +e
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" 2>"$work/log"
rc=$?
set -e
tail -n 25 "$work/log"
if [ "$rc" -ne 0 ]; then
    for a in "$work"/artifacts/*; do
        [ -f "$a" ] && { echo "crashing input $(basename "$a"):"; od -A x -t x1z "$a" | head -n 20; }
    done
fi
exit "$rc"
