#!/usr/bin/env bash
# Builds the programs and runs one of them (quillet unless named) with the stand-in
# recognizer dictating the demo script: `demo.sh scrivet` dictates into the stand-in word
# processor.  On a display the window stays open until you close it; with no display it
# runs under Xvfb to the end of the script, saves a screenshot and prints the dictated text.
# "demo.sh parlet" runs the focused-window program instead (scripts/demo_parlet.sh).
set -euo pipefail
[ "${1:-}" = parlet ] && exec bash "$(dirname "$0")/demo_parlet.sh"
. "$(dirname "$0")/common.sh"
program="${1:-quillet}"
# Where the dictated text ends up: a top-level window class and its text box's class.
case "$program" in
    quillet) target="TFnotepad TRichEdit" ;;
    scrivet) target="WordStandinWindow Edit" ;;  # the stand-in word processor's document
    *) echo "usage: $0 [quillet|scrivet|parlet]" >&2; exit 2 ;;
esac
prepare_demo
rm -f "$out/calls.log" "$out/dictated.txt" "$out/screenshot.png"
win() { wine_ winepath -w "$1" 2>/dev/null; }
export SPEECH_STANDIN_SCRIPT="$(win "$ROOT/standins/demo.script")"
export SPEECH_STANDIN_LOG="$(win "$out/calls.log")"
# The recognizer's own dialogs (first-run training) close themselves in the demo.
export SPEECH_STANDIN_UI_AUTOCLOSE=1500
if [ "$headless" = 0 ]; then
    wine_ "$BUILD/$program.exe"
    exit 0
fi
# With nobody to answer the first-run training prompt, the demo starts as a trained user.
sysdir="$WINEPREFIX/drive_c/windows/system32"
[ -f "$sysdir/tallowmere.ini" ] || printf 'Memo1\r\n' > "$sysdir/tallowmere.ini"
wine_ "$BUILD/$program.exe" &
app=$!
if [ "$program" = scrivet ]; then
    # The first phrase starts the word processor, which holds the dictation up for a while,
    # longer on a busy machine than the quiet call log the probe takes for the end: the
    # probe starts once every phrase of the script (guesses and recognitions) has been
    # asked for its text.  scrivet stays on screen beside the document for the screenshot.
    phrases=$(grep -cE '^(hypothesis|recognition)( |$)' "$ROOT/standins/demo.script" || true)
    asked=0
    for _ in $(seq 900); do
        asked=$(grep -c '^GetText' "$out/calls.log" 2>/dev/null || true)
        [ "${asked:-0}" -ge "$phrases" ] && break
        sleep 0.1
    done
    [ "${asked:-0}" -ge "$phrases" ] || log "the recognizer was asked for ${asked:-0} of $phrases phrase texts"
fi
# shellcheck disable=SC2086  # the target is a window class and a text-box class
wine_ "$BUILD/standins/demo_probe.exe" "$SPEECH_STANDIN_LOG" "$(win "$out/dictated.txt")" 90 $target || log "the demo did not finish"
import -window root "$out/screenshot.png" 2>/dev/null || true
kill "$app" 2>/dev/null || true
echo "screenshot: $out/screenshot.png"
echo "dictated text:"
if [ -f "$out/dictated.txt" ]; then iconv -f GBK -t UTF-8 "$out/dictated.txt"; echo; else echo "(none)"; fi
