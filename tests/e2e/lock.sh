#!/usr/bin/env bash
# The screen lock as a person meets it: Ctrl+Shift+L covers the screen with a password box,
# 'w' and Esc do not leave it, a wrong password is wiped, the right one unlocks; another
# program's topmost window is covered again; the task manager policy is set while locked and
# put back exactly afterwards, also after the program was killed in the lock or the session ended.
# Usage: lock.sh Lumivar.exe OUTDIR topmost_probe.exe   (screenshots are kept in OUTDIR)
set -euo pipefail
. "$(dirname "$0")/lib.sh"
probe_exe=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
# STARTUP=0: a Run value would start a stray copy with every new Wine session, and only one copy runs.
prepare "$1" "$2" '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\nSTARTUP=0\r\nLOCKPASS=1\r\nSYSTEMPWD=def\r\n'
password=abc
app=$(cd "$out/app" && pwd -P)


# pids NAME DIR: our own copies of a Windows program, told from others' by their folder
pids() {
  local p
  for p in $(pgrep -f "$1" 2>/dev/null); do
    [ "$(readlink "/proc/$p/cwd" 2>/dev/null)" = "$2" ] && echo "$p"
  done
  true
}
gone() { [ ! -e "/proc/$1" ] || grep -q '^State:.*Z' "/proc/$1/status" 2>/dev/null; }

# The machine as found: its values go back at the end, whatever happens in between.
leave_as_found() {
  local p
  disown "${program:-}" 2>/dev/null || true
  for p in $(pids Lumivar.exe "$app") $(pids topmost_probe.exe "$(cd "$out" && pwd -P)"); do kill -9 "$p" 2>/dev/null || true; done
  restore_registry
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  true
}
trap leave_as_found EXIT
lock_values_as_found

# marks NAME: the darkest grey inside the box, past the caret of an empty one (1: nothing typed)
marks() {
  local l t r b
  read -r l t r b <<< "$(box "$1")"
  convert "$out/$1.png" -crop "$((r - l - 12))x$((b - t - 6))+$((l + 9))+$((t + 3))" -colorspace gray -format '%[fx:minima.r]' info:
}
# red NAME: how much of the probe's place in the middle is its red
red() { convert "$out/$1.png" -crop 300x200+362+284 +repage -fill black +opaque 'srgb(255,0,0)' -format '%[fx:mean.r]' info:; }
still_locked() { [ "$(pixel "$1" 512 700)" = "$background" ] && [ -n "$(box "$1")" ]; }
lock() {
  xdotool windowfocus "$tray"; xdotool key ctrl+shift+l
  wait_screen rest 10 "$1" || fail "Ctrl+Shift+L did not lock the screen"
  sleep 1.5; shot "$1"
}
type_password() { focus_rest_screen; xdotool type --delay 60 "$1"; }
unlock() {
  type_password "$password"; xdotool key Return
  wait_screen clear 6 "$1" || fail "the right password did not unlock"
}
# kill_locked NAME: the program dies in the lock, with no chance to undo anything
kill_locked() {
  local p
  p=$(pids Lumivar.exe "$app")
  [ -n "$p" ] || fail "no Lumivar.exe of ours to kill"
  disown "$program" 2>/dev/null || true
  kill -9 $p
  # The kernel may take longer than a few seconds to tear a killed Wine process down.
  for _ in $(seq 1 120); do gone "$p" && break; sleep 0.25; done
  gone "$p" || fail "Lumivar.exe ($p) survived kill -9"
  wait_screen clear 6 "$1" || fail "the lock stayed on the screen after the program died"
  # Its tray icon goes a moment later; the next start must not take that one for its own.
  for _ in $(seq 1 40); do xdotool search --onlyvisible --name 'Wine System Tray' >/dev/null 2>&1 || break; sleep 0.25; done
  [ "$(reg_get "$policy" DisableTaskMgr)" = "REG_DWORD 0x1" ] && [ -n "$(reg_get "$record" PolicyBeforeLock)" ] ||
    fail "the program undid the lock although it was killed: $(reg_get "$policy" DisableTaskMgr)"
}
exit_program() {
  tray_menu Up Return  # 退出
  for _ in $(seq 1 40); do [ -z "$(pids Lumivar.exe "$app")" ] && break; sleep 0.25; done
  [ -z "$(pids Lumivar.exe "$app")" ] || fail "退出 did not end the program"
}

start
lock 01-lock
[ "$(pixel 01-lock 512 700)" = "$background" ] || fail "lock background $(pixel 01-lock 512 700)"
awk -v v="$(brightest 01-lock 90x16+934+0)" 'BEGIN{exit !(v > 0.8)}' || fail "no clock at the top right"
[ "$(convert "$out/01-lock.png" -crop 200x40+0+0 +repage -unique-colors -format '%w %[pixel:p{0,0}]' info:)" = "1 $background" ] ||
  fail "something is drawn at the top left: a countdown has no place in the lock"
read -r l t r b <<< "$(box 01-lock)"
[ -n "${l:-}" ] || fail "no password box at the bottom centre"
[ $((768 - 1 - b)) -eq 10 ] && [ $((l + r - 1023)) -ge -2 ] && [ $((l + r - 1023)) -le 2 ] &&
  [ $((r - l)) -ge 40 ] && [ $((r - l)) -le 400 ] && [ $((b - t)) -ge 12 ] && [ $((b - t)) -le 60 ] || fail "password box at $l,$t-$r,$b"
awk -v v="$(marks 01-lock)" 'BEGIN{exit !(v > 0.8)}' || fail "the password box is not empty and light"
ok "Ctrl+Shift+L: lock screen with its colour, clock, no countdown and the box at $l,$t-$r,$b"
[ "$(reg_get "$policy" DisableTaskMgr)" = "REG_DWORD 0x1" ] || fail "DisableTaskMgr while locked: $(reg_get "$policy" DisableTaskMgr)"
[ "$(reg_get "$record" PolicyBeforeLock | cut -d' ' -f1)" = REG_BINARY ] || fail "no PolicyBeforeLock record while locked"
ok "while locked DisableTaskMgr is 1 and the state before is recorded"

focus_rest_screen; xdotool key w; sleep 0.3; xdotool key Escape
sleep 3; shot 02-w-esc
still_locked 02-w-esc || fail "'w' or Esc left the lock (see 02-w-esc.png)"
ok "'w' and Esc leave the screen locked"

# The probe comes up, and pushes itself to the top again every 4 s: under load its first
# moment above the lock may pass between two screenshots, a later one will not.
(cd "$out" && exec wine "$probe_exe") >/dev/null 2>&1 &
disown $!
for _ in $(seq 1 120); do
  shot 03-probe-above
  [ "$(pixel 03-probe-above 512 384)" = 'srgb(255,0,0)' ] && break
  sleep 0.1
done
awk -v v="$(red 03-probe-above)" 'BEGIN{exit !(v > 0.99)}' || fail "the topmost probe never showed above the lock"
shown=$(date +%s%N)
for _ in $(seq 1 30); do
  shot 04-probe-covered
  [ "$(pixel 04-probe-covered 512 384)" != 'srgb(255,0,0)' ] && break
  sleep 0.1
done
covered_ms=$((($(date +%s%N) - shown) / 1000000))
[ -n "$(pids topmost_probe.exe "$(cd "$out" && pwd -P)")" ] || fail "the probe is gone instead of covered"
still_locked 04-probe-covered && [ "$(pixel 04-probe-covered 512 384)" = "$background" ] &&
  awk -v v="$(red 04-probe-covered)" 'BEGIN{exit !(v == 0)}' ||
  fail "another program's topmost window stayed above the lock (see 04-probe-covered.png)"
ok "another program's topmost window was covered again after ${covered_ms} ms"
kill -9 $(pids topmost_probe.exe "$(cd "$out" && pwd -P)")

type_password xyz; sleep 0.5; shot 05-typed
awk -v v="$(marks 05-typed)" 'BEGIN{exit !(v < 0.5)}' || fail "typing does not reach the password box"
xdotool key Return
for _ in $(seq 1 12); do
  sleep 0.25; shot 06-wrong
  awk -v v="$(marks 06-wrong)" 'BEGIN{exit !(v > 0.8)}' && break
done
awk -v v="$(marks 06-wrong)" 'BEGIN{exit !(v > 0.8)}' || fail "a wrong password was not wiped"
sleep 1; shot 06-wrong
still_locked 06-wrong && awk -v v="$(marks 06-wrong)" 'BEGIN{exit !(v > 0.8)}' ||
  fail "a wrong password unlocked the screen or came back into the box"
ok "a wrong password empties the box and keeps the lock"

unlock 07-unlocked
[ -z "$(reg_get "$policy" DisableTaskMgr)" ] && [ -z "$(reg_get "$record" PolicyBeforeLock)" ] ||
  fail "after unlocking: DisableTaskMgr '$(reg_get "$policy" DisableTaskMgr)', record '$(reg_get "$record" PolicyBeforeLock)'"
[ -n "${kept_existed[$policy]}" ] || ! has_key "$policy" || fail "the policy key the lock created is still there"
ok "the right password unlocks, DisableTaskMgr is absent again and the record is gone"

lock 08-lock-again
kill_locked 09-killed
ok "killed in the lock: DisableTaskMgr stays 1 and the record stays"
start
[ -z "$(reg_get "$policy" DisableTaskMgr)" ] && [ -z "$(reg_get "$record" PolicyBeforeLock)" ] ||
  fail "the next start did not repair: DisableTaskMgr '$(reg_get "$policy" DisableTaskMgr)'"
ok "the next start removed DisableTaskMgr and the record"
exit_program

# An administrator's own value, set before the program starts.
reg_put "$policy" DisableTaskMgr 'REG_DWORD 0x0'
start
lock 10-admin-lock
[ "$(reg_get "$policy" DisableTaskMgr)" = "REG_DWORD 0x1" ] || fail "DisableTaskMgr while locked: $(reg_get "$policy" DisableTaskMgr)"
unlock 11-admin-unlocked
[ "$(reg_get "$policy" DisableTaskMgr)" = "REG_DWORD 0x0" ] && [ -z "$(reg_get "$record" PolicyBeforeLock)" ] ||
  fail "the administrator's 0 was not put back: '$(reg_get "$policy" DisableTaskMgr)'"
ok "an administrator's DisableTaskMgr=0 reads 1 while locked and 0 after unlocking"

lock 12-admin-lock-again
kill_locked 13-admin-killed
start
[ "$(reg_get "$policy" DisableTaskMgr)" = "REG_DWORD 0x0" ] && [ -z "$(reg_get "$record" PolicyBeforeLock)" ] ||
  fail "after the crash the next start left DisableTaskMgr '$(reg_get "$policy" DisableTaskMgr)'"
ok "killed in the lock, the next start put the administrator's 0 back"

lock 14-session-end
wineboot -e >/dev/null 2>&1 || true
for _ in $(seq 1 40); do [ -z "$(pids Lumivar.exe "$app")" ] && break; sleep 0.25; done
[ -z "$(pids Lumivar.exe "$app")" ] || fail "the end of the session did not end the program"
[ "$(reg_get "$policy" DisableTaskMgr)" = "REG_DWORD 0x0" ] && [ -z "$(reg_get "$record" PolicyBeforeLock)" ] ||
  fail "the end of the session in the lock left DisableTaskMgr '$(reg_get "$policy" DisableTaskMgr)'"
ok "the end of the session in the lock put the administrator's 0 back"
echo "e2e: $passed passed, 0 failed"
