#!/usr/bin/env bash
# The parlet demo (scripts/demo.sh parlet): builds everything and runs Wine's own notepad
# beside parlet, which types the stand-in recognizer's demo script into whatever window
# is in front.  On a display both stay open: click into the notepad and watch.  With no
# display it runs under Xvfb, puts the notepad in front once parlet is up, and at the end
# saves a screenshot and prints the notepad's text.
set -euo pipefail
. "$(dirname "$0")/common.sh"
prepare_demo
rm -f "$out/parlet-calls.log" "$out/typed.txt" "$out/parlet-screenshot.png"
win() { wine_ winepath -w "$1" 2>/dev/null; }
# The script starts after a pause: time for the notepad to come to the front.
{ echo "wait 3000"; cat "$ROOT/standins/demo.script"; } > "$out/parlet-demo.script"
export SPEECH_STANDIN_SCRIPT="$(win "$out/parlet-demo.script")"
export SPEECH_STANDIN_LOG="$(win "$out/parlet-calls.log")"
export SPEECH_STANDIN_UI_AUTOCLOSE=1500
sysdir="$WINEPREFIX/drive_c/windows/system32"
[ -f "$sysdir/tallowmere.ini" ] || printf '0\r\n' > "$sysdir/tallowmere.ini"
wine_ notepad.exe &
notepad=$!
if [ "$headless" = 0 ]; then
    log "click into the notepad: parlet types there"
    wine_ "$BUILD/parlet.exe"
    kill $notepad 2>/dev/null || true
    exit 0
fi
wine_ "$BUILD/parlet.exe" &
app=$!
wine_ "$BUILD/standins/demo_probe.exe" "$SPEECH_STANDIN_LOG" "$(win "$out/typed.txt")" 90 Notepad || log "the demo did not finish"
import -window root "$out/parlet-screenshot.png" 2>/dev/null || true
kill $app $notepad 2>/dev/null || true
echo "screenshot: $out/parlet-screenshot.png"
echo "text typed into Wine's notepad:"
if [ -f "$out/typed.txt" ]; then iconv -f GBK -t UTF-8 "$out/typed.txt"; echo; else echo "(none)"; fi
