#!/usr/bin/env bash
# The cycle through a person's day, as they meet it: seventy seconds away from the keyboard
# count as a rest (the rest comes a full period after the return, not at its old time) and a
# balloon warns before it; a sleep the system reports shifts the next rest the same way; a
# full-screen program holds the rest back until it closes.
# Usage: day.sh Lumivar.exe OUTDIR session_probe.exe   (screenshots are kept in OUTDIR)
set -euo pipefail
. "$(dirname "$0")/lib.sh"
probe_exe=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
prepare "$1" "$2" '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\nSTARTUP=0\r\n[SCREEN]\r\nWORKTIME=2\r\nBREAKTIME=5\r\nNATURALBREAK=1\r\nPREWARN=30\r\nFULLSCREENWAIT=0\r\n[SOUND]\r\nPLAYSOUND=0\r\n'
keep_registry "$run|Lumivar2003" "$machine_run|Lumivar2003"
trap 'wineserver -k 2>/dev/null || true; restore_registry; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; true' EXIT
without_run_value "$run" "$machine_run"

probe() { (cd "$out" && wine "$probe_exe" "$@") 2>/dev/null | tr -d '\r'; }
since() { echo $(($(date +%s) - t0)); }
# until_s T: waits for second T of the story
until_s() { local d=$((t0 + $1 - $(date +%s))); [ "$d" -le 0 ] || sleep "$d"; }
# a key, as a person at work gives one: to one of the program's windows, or (with a film in
# front, which must keep the foreground) sent to whatever is in front
key() { xdotool windowfocus "$tray"; xdotool key shift; }
typing_until() {
  local left
  while left=$(($1 - $(since))) && [ "$left" -gt 0 ]; do key; sleep $((left < 20 ? left : 20)); done
}
resting() { shot "$1"; [ "$(pixel "$1" 512 700)" = "$background" ]; }
# rest_between FROM TO NAME: the rest comes within those seconds of the story, not before
rest_between() {
  until_s "$1"
  resting "$3-before" && fail "a rest already at second $(since), expected from $1 (see $3-before.png)"
  wait_screen rest $(($2 - $1 + 2)) "$3" || fail "no rest by second $(since), expected by $2"
  came=$(since)
  [ "$came" -le "$2" ] || fail "the rest came at second $came, expected by $2"
}

start
t0=$(($(date +%s) - 1))  # the cycle began as the icon came
key
until_s 72; key  # seventy seconds with no input: a natural break
ok "away from second 1 to 72"
until_s 125
resting 01-old-time && fail "a rest came at its old time, after the person had rested (see 01-old-time.png)"
ok "no rest at its old time, two minutes after the start"
typing_until 150
until_s 158; shot 02-before-warning
for _ in $(seq 1 40); do
  shot 02-warning
  [ "$(convert "$out/02-before-warning.png" -crop 400x200+0+0 +repage -format '%#' info:)" != \
    "$(convert "$out/02-warning.png" -crop 400x200+0+0 +repage -format '%#' info:)" ] && break
  sleep 0.25
done
warned=$(since)
[ "$warned" -le 168 ] || fail "no balloon by second $warned, 30 s before the rest due at 193 (see 02-warning.png)"
ok "a balloon came at second $warned, before the rest"
typing_until 182
rest_between 186 200 03-rest
ok "the rest came at second $came: a full period after the return at 72"

# A sleep of 65 s the system reports, then a film.
wait_screen clear 10 04-back || fail "the rest did not end"
tray_menu Up Return  # 退出
for _ in $(seq 1 40); do [ ! -e "/proc/$program" ] && break; sleep 0.25; done
sed -i 's/^WORKTIME=.*/WORKTIME=1\r/; s/^FULLSCREENWAIT=.*/FULLSCREENWAIT=2\r/; s/^PREWARN=.*/PREWARN=0\r/' "$out/app/Lumivar.ini"
start
t0=$(($(date +%s) - 1))
key
until_s 10; probe power suspend
# Keys meanwhile, so that no natural break but the sleep itself moves the rest.
until_s 30; key
until_s 55; key
until_s 65
resting 05-asleep && fail "a rest came while the computer slept (see 05-asleep.png)"
until_s 75; key; probe power resume
ok "asleep from second 10 to 75"
until_s 100; key
until_s 122; key
rest_between 128 140 06-rest
ok "the rest came at second $came: a full period after the resume, not at second 60"

wait_screen clear 10 07-back || fail "the rest did not end"
back=$(since)
(cd "$out" && exec wine "$probe_exe" fullscreen 70) >/dev/null 2>&1 &
film=$!
sleep 3; shot 08-film
[ "$(pixel 08-film 512 384)" = 'srgb(0,0,160)' ] || fail "the film probe did not cover the screen (see 08-film.png)"
for s in 20 40 58; do until_s $((back + s)); probe send 10; done
until_s $((back + 65))
shot 09-film-held
[ "$(pixel 09-film-held 512 384)" = 'srgb(0,0,160)' ] || fail "a rest covered the film (see 09-film-held.png)"
ok "the rest due at second $((back + 60)) waits while the film fills the screen"
wait "$film" 2>/dev/null || true
until_s $((back + 100)); key
rest_between $((back + 110)) $((back + 128)) 10-rest
ok "the rest came at second $came, at the first try after the film closed"
echo "e2e: $passed passed, 0 failed"
