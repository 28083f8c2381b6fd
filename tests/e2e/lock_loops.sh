#!/usr/bin/env bash
# The lock as a person meets it with one of the program's windows open: a reminder waiting for
# an answer, the settings dialog. The right password and Enter leave the lock right there, and
# the window is back as it was. While locked the shell's own keys reach nobody and a new task
# bar is hidden; a session end that is cancelled keeps the lock and its policy, and the cycle
# goes on: a rest still comes afterwards.
# Usage: lock_loops.sh Lumivar.exe OUTDIR session_probe.exe   (screenshots are kept in OUTDIR)
set -euo pipefail
. "$(dirname "$0")/lib.sh"
probe_exe=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
# The reminder is due at the start of a minute at least 20 seconds away; it waits for an answer.
due=$(date -d "@$(( ($(date +%s) + 80) / 60 * 60 ))" +%H:%M)
prepare "$1" "$2" "[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\nSTARTUP=0\r\nLOCKPASS=1\r\nSYSTEMPWD=def\r\n[SCREEN]\r\nWORKTIME=10\r\nBREAKTIME=5\r\n[SOUND]\r\nPLAYSOUND=0\r\n[NOTES AND TASKS]\r\nREMIND=1\r\nTIMEOUT=0\r\nTOTALITEM=1\r\nDate0=每天\r\nTIME0=${due#0}\r\nNOTE0=开会\r\n"
iconv -f UTF-8 -t GBK "$out/app/Lumivar.ini" > "$out/app/ini.gbk" && mv "$out/app/ini.gbk" "$out/app/Lumivar.ini"
password=abc

leave_as_found() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null
  restore_registry
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  true
}
trap leave_as_found EXIT
lock_values_as_found

probe() { (cd "$out" && wine "$probe_exe" "$@") 2>/dev/null | tr -d '\r'; }
# keys VK...: presses them; prints the ones a hook installed before the program's was let see
keys_file="$out/keys.txt"
keys() {
  local mark
  mark=$(wc -l < "$keys_file")
  probe send "$@"
  sleep 0.5
  tail -n +$((mark + 1)) "$keys_file" | tr -d '\r' | tr '\n' ' ' | sed 's/ $//'
}
visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
# gone TITLE: waits for Wine to hide it (about two seconds)
gone() { for _ in $(seq 1 24); do visible "$1" || return 0; sleep 0.25; done; return 1; }
lock_from() {
  xdotool windowfocus "$1"; sleep 0.3; xdotool key ctrl+shift+l
  wait_screen rest 10 "$2" || fail "Ctrl+Shift+L did not lock the screen ($2.png)"
}
unlock() {
  focus_rest_screen; xdotool type --delay 60 "$password"; xdotool key Return
  wait_screen clear 6 "$1" || fail "the right password and Enter did not unlock ($1.png)"
}

(cd "$out" && exec wine "$probe_exe" keys "Z:${keys_file//\//\\}") >/dev/null 2>&1 &
for _ in $(seq 1 40); do grep -q ready "$keys_file" 2>/dev/null && break; sleep 0.25; done
grep -q ready "$keys_file" || fail "the key watcher did not start"
start
[ "$(keys 5b)" = 5b ] || fail "unlocked, the Windows key did not reach another program's hook"
ok "unlocked, the Windows key reaches other programs"

box=$(wait_window '时间到了' 100) || { shot 00-no-notice; fail "no reminder at $due"; }
lock_from "$box" 01-locked-over-notice
gone '时间到了' || fail "the notice stays above the lock"
unlock 02-unlocked
box=$(wait_window '时间到了' 6) || { shot 02-no-notice; fail "the notice did not come back after the lock"; }
shot 02-notice-back
ok "locked while the reminder waited: the password and Enter unlock, the notice is back"
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove $((X + WIDTH * 73 / 100)) $((Y + HEIGHT * 9 / 10)) click 1  # 取消
gone '时间到了' || fail "取消 did not close the notice"

tray_click 1; sleep 0.15; tray_click 1
dialog=$(wait_window '眸安星－系统设置' 10) || { shot 03-no-dialog; fail "a double click did not open the settings"; }
lock_from "$dialog" 04-locked-over-settings
gone '眸安星－系统设置' || fail "the settings dialog stays above the lock"
[ "$(keys 5b)" = '' ] && [ "$(keys 09)" = 09 ] && [ "$(keys 12 09)" = 12 ] && [ "$(keys 11 1b)" = 11 ] ||
  fail "while locked the hook let through: Win '$(keys 5b)', Alt+Tab '$(keys 12 09)', Ctrl+Esc '$(keys 11 1b)'"
ok "while locked the Windows key, Alt+Tab and Ctrl+Esc reach nobody; Tab, Alt and Ctrl alone do"
[ "$(probe taskbar)" = hidden ] || fail "a task bar that came during the lock stayed"
ok "a task bar that appears with a restarted shell during the lock is hidden"
unlock 05-unlocked
dialog=$(wait_window '眸安星－系统设置' 6) || { shot 05-no-dialog; fail "the settings did not come back after the lock"; }
shot 05-settings-back
ok "locked while the settings were open: the password and Enter unlock, the dialog is back"
[ "$(keys 5b)" = 5b ] || fail "after the lock the Windows key is still swallowed"
ok "the hook went with the lock"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove $((X + 520)) $((Y + 439)) click 1  # 取消
gone '眸安星－系统设置' || fail "取消 did not close the settings"

# A new start whose work lasts a minute, for a rest to come after the cancelled end.
tray_menu Up Return  # 退出
for _ in $(seq 1 40); do [ ! -e "/proc/$program" ] && break; sleep 0.25; done
sed -i 's/^WORKTIME=.*/WORKTIME=1\r/' "$out/app/Lumivar.ini"
start
lock_from "$tray" 06-locked
[ "$(probe end cancel)" = 'may end: 1' ] || fail "the program did not let the session end"
sleep 2; shot 07-cancelled
sleep 1.5; shot 07-cancelled-later
[ "$(pixel 07-cancelled-later 512 400)" = "$background" ] || fail "the lock went with the cancelled end (07-cancelled-later.png)"
[ "$(convert "$out/07-cancelled.png" -crop 90x16+934+0 +repage -format '%#' info:)" != \
  "$(convert "$out/07-cancelled-later.png" -crop 90x16+934+0 +repage -format '%#' info:)" ] ||
  fail "the lock's clock stopped after the cancelled end"
[ "$(reg_get "$policy" DisableTaskMgr)" = "REG_DWORD 0x1" ] || fail "the cancelled end lifted DisableTaskMgr"
visible 'Wine System Tray' || fail "the tray icon went with the cancelled end"
[ "$(keys 5b)" = '' ] || fail "the cancelled end removed the keyboard hook"
ok "a cancelled session end keeps the lock, its clock, DisableTaskMgr, the hook and the tray icon"
unlock 08-unlocked
[ -z "$(reg_get "$policy" DisableTaskMgr)" ] || fail "DisableTaskMgr stayed after unlocking"
wait_screen rest 75 09-rest || fail "no rest came a minute after the unlock"
wait_screen clear 10 10-back || fail "the rest did not end after its 5 s"
ok "a rest came a minute after the unlock and ended on time"
echo "e2e: $passed passed, 0 failed"
