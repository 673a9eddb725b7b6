#!/usr/bin/env bash
# Builds quillet and runs it with the stand-in recognizer dictating the demo script.
# On a display the window stays open until you close it; with no display it runs under
# Xvfb to the end of the script, saves a screenshot and prints the dictated text.
set -euo pipefail
. "$(dirname "$0")/common.sh"
install_packages
build_all
make_prefix
register_standins
headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then headless=1; USE_XVFB=1; fi
start_display
trap stop_all EXIT
start_wine
script_win="$("$WINE" winepath -w "$ROOT/standins/demo.script" 2>/dev/null)"
export SPEECH_STANDIN_SCRIPT="$script_win"
if [ "$headless" = 0 ]; then
    wine_ "$BUILD/quillet.exe"
    exit 0
fi
out="$BUILD/demo"
mkdir -p "$out"
export SPEECH_STANDIN_EXIT_AFTER=1
export QUILLET_DEMO_DUMP="$("$WINE" winepath -w "$out/dictated.txt" 2>/dev/null)"
wine_ "$BUILD/quillet.exe" &
app=$!
# The stand-in ends the program after the script's last event; take the picture just before.
for _ in $(seq 300); do
    [ -f "$out/dictated.txt" ] && break
    kill -0 $app 2>/dev/null || break
    sleep 0.1
done
import -window root "$out/screenshot.png" 2>/dev/null || true
wait $app || true
echo "screenshot: $out/screenshot.png"
echo "dictated text:"
[ -f "$out/dictated.txt" ] && iconv -f GBK -t UTF-8 "$out/dictated.txt" || echo "(none)"
