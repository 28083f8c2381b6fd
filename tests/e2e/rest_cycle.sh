#!/usr/bin/env bash
# The real program under Wine, used as a person would: it starts silently to the
# tray, Ctrl+Shift+A brings the rest screen, 'w' ends it, the next rest comes by
# itself after the working period, and the end of the session saves the INI file.
# Usage: rest_cycle.sh Lumivar.exe OUTDIR   (screenshots are kept in OUTDIR)
set -euo pipefail
. "$(dirname "$0")/lib.sh"
prepare "$1" "$2" '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\n[SCREEN]\r\nWORKTIME=1\r\nBREAKTIME=20\r\n'
start
shot 01-started
[ "$(pixel 01-started 512 700)" != "$background" ] || fail "the program did not start silently"
ok "started to the tray without a window"

xdotool windowfocus "$tray"; xdotool key ctrl+shift+a
wait_screen rest 10 02-rest || fail "Ctrl+Shift+A did not bring the rest screen"
sleep 1.5; shot 02-rest
awk -v v="$(brightest 02-rest 90x16+0+0)" 'BEGIN{exit !(v > 0.8)}' || fail "no countdown at the top left"
awk -v v="$(brightest 02-rest 90x16+934+0)" 'BEGIN{exit !(v > 0.8)}' || fail "no clock at the top right"
convert "$out/02-rest.png" -crop 400x80+312+300 -format '%[fx:maxima.r]' info: |
  awk '{exit !($1 > 0.9)}' || fail "no text line in the middle"
ok "rest screen with background, text, countdown and clock"

focus_rest_screen
xdotool key w
wait_screen clear 6 03-back || fail "'w' did not end the rest"
ok "'w' returned to work before the rest was over"

# WORKTIME=1: the next rest comes by itself a minute after the return.
wait_screen rest 75 04-auto-rest || fail "no rest after the working period"
ok "the working period ended in a rest"
wait_screen clear 30 05-auto-back || fail "the rest did not end by itself"
ok "the rest ended by itself"

wineboot -e >/dev/null 2>&1 || true
ini="$out/app/Lumivar.ini"
for _ in $(seq 1 40); do grep -q HOSTSTATUS "$ini" && break; sleep 0.25; done
sections=$(grep -o '^\[[^]]*\]' "$ini" | tr '\n' ' ')
[ "$sections" = "[Lumivar2003] [SCREEN] [SOUND] [NOTES AND TASKS] [HOMEPAGE] [MAIL] [HOSTSTATUS] " ] ||
  fail "sections written: $sections"
grep -q '^WORKTIME=1' "$ini" && grep -q '^BREAKTIME=20' "$ini" || fail "settings were not kept"
iconv -f GBK -t UTF-8 "$ini" | grep -q '^TEXT=保护视力' || fail "the text is not GBK on disk"
ok "the end of the session saved all seven sections"

run=$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Lumivar2003 2>/dev/null | tr -d '\r')
echo "$run" | grep -qi 'Lumivar.exe' || fail "no Run value: $run"
ok "Run value $(echo "$run" | grep -o '[A-Z]:.*')"
# Left in place, the value would start this copy in every later Wine session of the prefix.
wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Lumivar2003 /f >/dev/null 2>&1 || true
echo "e2e: $passed passed, 0 failed"
