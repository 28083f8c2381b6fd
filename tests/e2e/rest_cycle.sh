#!/usr/bin/env bash
# The real program under Wine, used as a person would: it starts silently to the
# tray, Ctrl+Shift+A brings the rest screen, 'w' ends it, the next rest comes by
# itself after the working period, and the end of the session saves the INI file.
# Usage: rest_cycle.sh Lumivar.exe OUTDIR   (screenshots are kept in OUTDIR)
set -euo pipefail
exe=$1 out=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-prefix}" WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
rm -rf "$out" && mkdir -p "$out/app"
cp "$exe" "$out/app/Lumivar.exe"
printf '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\n[SCREEN]\r\nWORKTIME=1\r\nBREAKTIME=20\r\n' > "$out/app/Lumivar.ini"

xvfb=
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:$((90 + RANDOM % 100))
  Xvfb "$DISPLAY" -screen 0 1024x768x24 >/dev/null 2>&1 & xvfb=$!
  sleep 1
fi
cleanup() { wineserver -k 2>/dev/null || true; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }
shot() { import -window root "$out/$1.png"; }
pixel() { convert "$out/$1.png" -format "%[pixel:p{$2,$3}]" info:; }
brightest() { convert "$out/$1.png" -crop "$2" -colorspace gray -format '%[fx:maxima.r]' info:; }
background='srgb(11,65,104)'
# Polls the screen until the middle shows (or stops showing) the rest background.
wait_screen() { # want(rest|clear) seconds name
  local i
  for ((i = 0; i < $2 * 4; i++)); do
    shot "$3"
    local p; p=$(pixel "$3" 512 600)
    if [ "$1" = rest ] && [ "$p" = "$background" ]; then return 0; fi
    if [ "$1" = clear ] && [ "$p" != "$background" ]; then return 0; fi
    sleep 0.25
  done
  return 1
}

(cd "$out/app" && exec wine Lumivar.exe) &
tray=
for _ in $(seq 1 120); do
  tray=$(xdotool search --name 'Wine System Tray' 2>/dev/null | head -1) && [ -n "$tray" ] && break
  sleep 0.25
done
[ -n "$tray" ] || fail "no tray icon appeared"
sleep 1
shot 01-started
[ "$(pixel 01-started 512 600)" != "$background" ] || fail "the program did not start silently"
echo "ok: started to the tray without a window"

xdotool windowfocus "$tray"; xdotool key ctrl+shift+a
wait_screen rest 10 02-rest || fail "Ctrl+Shift+A did not bring the rest screen"
sleep 1.5; shot 02-rest
awk -v v="$(brightest 02-rest 90x16+0+0)" 'BEGIN{exit !(v > 0.8)}' || fail "no countdown at the top left"
awk -v v="$(brightest 02-rest 90x16+934+0)" 'BEGIN{exit !(v > 0.8)}' || fail "no clock at the top right"
convert "$out/02-rest.png" -crop 400x80+312+300 -format '%[fx:maxima.r]' info: |
  awk '{exit !($1 > 0.9)}' || fail "no text line in the middle"
echo "ok: rest screen with background, text, countdown and clock"

# Without a window manager Wine cannot move the X focus itself; on Windows the rest
# screen takes the foreground. Give it the focus as the desktop would.
rest_window=$(for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
  [ "$w" != "$tray" ] && xdotool getwindowgeometry "$w" | grep -q 'Geometry: 1024x768' && echo "$w"
done | sort -n | tail -1)
[ -n "$rest_window" ] || fail "no full-screen window"
xdotool windowfocus "$rest_window"
xdotool key w
wait_screen clear 6 03-back || fail "'w' did not end the rest"
echo "ok: 'w' returned to work before the rest was over"

# WORKTIME=1: the next rest comes by itself a minute after the return.
wait_screen rest 75 04-auto-rest || fail "no rest after the working period"
echo "ok: the working period ended in a rest"
wait_screen clear 30 05-auto-back || fail "the rest did not end by itself"
echo "ok: the rest ended by itself"

wineboot -e >/dev/null 2>&1 || true
ini="$out/app/Lumivar.ini"
for _ in $(seq 1 40); do grep -q HOSTSTATUS "$ini" && break; sleep 0.25; done
sections=$(grep -o '^\[[^]]*\]' "$ini" | tr '\n' ' ')
[ "$sections" = "[Lumivar2003] [SCREEN] [SOUND] [NOTES AND TASKS] [HOMEPAGE] [MAIL] [HOSTSTATUS] " ] ||
  fail "sections written: $sections"
grep -q '^WORKTIME=1' "$ini" && grep -q '^BREAKTIME=20' "$ini" || fail "settings were not kept"
iconv -f GBK -t UTF-8 "$ini" | grep -q '^TEXT=保护视力' || fail "the text is not GBK on disk"
echo "ok: the end of the session saved all seven sections"

run=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Lumivar2003 2>/dev/null | tr -d '\r')
echo "$run" | grep -qi 'Lumivar.exe' || fail "no Run value: $run"
echo "ok: Run value $(echo "$run" | grep -o '[A-Z]:.*')"
echo "e2e: 7 passed, 0 failed"
