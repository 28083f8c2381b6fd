#!/usr/bin/env bash
# The lock on a desk with two monitors side by side: it covers both, its password box sits
# at the bottom centre of the primary one, and the right password still unlocks.
# Two 1024x768 heads come from Xephyr with Xinerama (Xvfb stacks its screens at 0,0), and Wine
# sees them only through Xinerama, so its XRandR use is switched off for the story.
# Usage: lock_two_monitors.sh Lumivar.exe OUTDIR   (screenshots are kept in OUTDIR; exits 77,
# skipped, where Xephyr is not installed)
set -euo pipefail
command -v Xephyr >/dev/null || { echo "skipped: no Xephyr for two monitors"; exit 77; }
. "$(dirname "$0")/lib.sh"

x11='HKCU\Software\Wine\X11 Driver'

# The machine as found: the values the program or the story touch go back at the end, and
# keys that were not there go.
keep_registry "$x11|UseXRandR" "$run|Lumivar2003" "$machine_run|Lumivar2003" "$policy|DisableTaskMgr" "$record|PolicyBeforeLock" -- \
  "$x11" "$policy" "$policies" "$record"
leave_as_found() {
  wineserver -k 2>/dev/null || true
  wineserver -w
  restore_registry
  wineserver -k 2>/dev/null || true
  kill ${xephyr_pid:-} ${host_pid:-} 2>/dev/null
  true
}
trap leave_as_found EXIT
# Wine reads the monitors as its session begins: begin one on the two-headed display, and
# without a Run value starting another copy with it.
reg_put "$run" Lumivar2003 ''; reg_put "$machine_run" Lumivar2003 ''
wineserver -k 2>/dev/null || true
wineserver -w
wine reg add "$x11" /v UseXRandR /t REG_SZ /d N /f >/dev/null
wineserver -w

host=$((200 + RANDOM % 100))
Xvfb ":$host" -screen 0 2048x768x24 >/dev/null 2>&1 & host_pid=$!
sleep 1
export DISPLAY=:$((host + 100))
DISPLAY=:$host Xephyr "$DISPLAY" -ac +xinerama -origin 0,0 -screen 1024x768 -origin 1024,0 -screen 1024x768 \
  >/dev/null 2>&1 & xephyr_pid=$!
for _ in $(seq 1 40); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.25; done

prepare "$1" "$2" '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\nSTARTUP=0\r\nLOCKPASS=1\r\nSYSTEMPWD=def\r\n'
trap leave_as_found EXIT  # prepare set its own
heads=$(xdpyinfo -ext XINERAMA | grep -c 'head #')
[ "$heads" -eq 2 ] || fail "the display has $heads heads"

start
xdotool windowfocus "$tray"; xdotool key ctrl+shift+l
for _ in $(seq 1 40); do
  shot 01-lock-both
  [ "$(pixel 01-lock-both 512 700)" = "$background" ] && [ "$(pixel 01-lock-both 1536 700)" = "$background" ] && break
  sleep 0.25
done
sleep 1.5; shot 01-lock-both
[ "$(identify -format '%w' "$out/01-lock-both.png")" -eq 2048 ] || fail "the screen is not 2048 wide"
[ "$(pixel 01-lock-both 512 700)" = "$background" ] || fail "the lock does not cover the primary monitor"
[ "$(pixel 01-lock-both 1536 700)" = "$background" ] && [ "$(pixel 01-lock-both 2040 760)" = "$background" ] ||
  fail "the lock does not cover the second monitor (see 01-lock-both.png)"
ok "the lock covers both monitors, 2048 pixels"

# The box: light at the bottom centre of the primary monitor, background either side of it.
[ "$(pixel 01-lock-both 440 747)" = "$background" ] && [ "$(pixel 01-lock-both 584 747)" = "$background" ] &&
  [ "$(pixel 01-lock-both 512 758)" = "$background" ] ||
  fail "something other than the box at the bottom centre of the primary monitor"
convert "$out/01-lock-both.png" -crop 60x8+482+743 -colorspace gray -format '%[fx:minima.r]' info: |
  awk '{exit !($1 > 0.8)}' || fail "no password box at the bottom centre of the primary monitor"
[ "$(convert "$out/01-lock-both.png" -crop 1024x120+1024+648 +repage -unique-colors -format '%w' info:)" -eq 1 ] ||
  fail "something at the bottom of the second monitor"
ok "the password box sits at the bottom centre of the primary monitor"

w=$(for c in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
  xdotool getwindowgeometry "$c" | grep -q 'Geometry: 2048x768' && echo "$c"
done | sort -n | tail -1)
[ -n "$w" ] || fail "no window over both monitors"
xdotool windowfocus "$w"; xdotool type --delay 60 abc; xdotool key Return
wait_screen clear 6 02-unlocked || fail "the right password did not unlock"
ok "the right password unlocks"
echo "e2e: $passed passed, 0 failed"
