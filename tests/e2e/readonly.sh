#!/usr/bin/env bash
# The program in a folder its user may not write, as under C:\Program Files: a change made in
# the settings dialog goes to the per-user folder, starting from the file beside the program,
# with nothing to tell; after a restart it is still the one in force. Then the shell restarts:
# the icons are lost, TaskbarCreated comes, and they are back by themselves.
# Usage: readonly.sh Lumivar.exe OUTDIR session_probe.exe
set -euo pipefail
if [ "${LUMIVAR_OWN_MOUNTS:-}" != 1 ]; then
  . "$(dirname "$0")/lib.sh"
  # Wine's server opens the files: one already running outside would see the folder writable.
  wineserver -k 2>/dev/null || true; wineserver -w
  exec env -u DISPLAY LUMIVAR_OWN_MOUNTS=1 unshare -m --propagation private -- "$0" "$@"
fi
. "$(dirname "$0")/lib.sh"
probe_exe=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
prepare "$1" "$2" '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\nSTARTUP=0\r\n[SCREEN]\r\nWORKTIME=30\r\nBREAKTIME=20\r\n'
beside="$out/app/Lumivar.ini"
mount --bind "$out/app" "$out/app" && mount -o remount,bind,ro "$out/app"
! touch "$out/app/probe" 2>/dev/null || fail "the program's folder can be written"

appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')")/Lumivar
ini="$appdata/Lumivar.ini"
[ ! -e "$appdata.kept" ] || fail "$appdata.kept is in the way"
[ ! -e "$appdata" ] || mv "$appdata" "$appdata.kept"
keep_registry "$run|Lumivar2003" "$machine_run|Lumivar2003"
leave_as_found() {
  wineserver -k 2>/dev/null || true; wineserver -w
  restore_registry
  rm -rf "$appdata"
  [ ! -e "$appdata.kept" ] || mv "$appdata.kept" "$appdata"
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  true
}
trap leave_as_found EXIT
without_run_value "$run" "$machine_run"
before=$(sha1sum < "$beside")

probe() { (cd "$out" && wine "$probe_exe" "$@") 2>/dev/null | tr -d '\r'; }
told() { xdotool search --onlyvisible --name '^Lumivar$' >/dev/null 2>&1; }
# tray_gone: Wine takes its tray window down a moment after the last icon goes
tray_gone() {
  for _ in $(seq 1 40); do xdotool search --onlyvisible --name 'Wine System Tray' >/dev/null 2>&1 || return 0; sleep 0.25; done
  return 1
}
# tray_icons NAME: the tray's picture is cut out as NAME-tray.png once an icon is drawn in it
tray_icons() {
  local i
  for ((i = 0; i < 40; i++)); do
    tray=$(xdotool search --onlyvisible --name 'Wine System Tray' 2>/dev/null | tail -1) || true
    if [ -n "$tray" ]; then
      shot "$1"
      eval "$(xdotool getwindowgeometry --shell "$tray")"
      convert "$out/$1.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1-tray.png"
      [ "$(identify -format '%k' "$out/$1-tray.png")" -gt 2 ] && { echo "$out/$1-tray.png"; return 0; }
    fi
    sleep 0.25
  done
  echo none
}

start
tray_click 1; sleep 0.15; tray_click 1
dialog=$(wait_window '眸安星－系统设置' 10) || { shot 01-no-dialog; fail "a double click did not open the settings"; }
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool windowfocus "$dialog"; sleep 0.3
xdotool mousemove $((X + 168)) $((Y + 64)) click 1; sleep 0.3; xdotool type 01; sleep 0.3  # the work minutes
shot 01-changed
xdotool mousemove $((X + 419)) $((Y + 439)) click 1  # 确定
for _ in $(seq 1 40); do [ -f "$ini" ] && grep -q '^WORKTIME=1\b' "$ini" && break; sleep 0.25; done
grep -q '^WORKTIME=1\b' "$ini" 2>/dev/null || fail "the change is not in $ini"
grep -q '^BREAKTIME=20\b' "$ini" || fail "the per-user file did not start from the one beside the program"
[ "$(sha1sum < "$beside")" = "$before" ] || fail "the file beside the program changed"
sleep 1; ! told || { shot 02-told; fail "a failure was told although the settings were kept"; }
ok "in a folder it cannot write, the change went to the per-user file, which started from the one beside it"

tray_menu Up Return  # 退出
for _ in $(seq 1 40); do [ ! -e "/proc/$program" ] && break; sleep 0.25; done
[ ! -e "/proc/$program" ] || fail "退出 did not end the program"
tray_gone || fail "the icon stayed after 退出"
start
icons=$(tray_icons 03-restarted)
[ "$icons" != none ] || fail "no icon after the restart"
probe shell gone
tray_gone || fail "the icons did not go with the shell"
probe shell back
back=$(tray_icons 04-icons-back)
[ "$back" != none ] || fail "no icon came back after TaskbarCreated"
# The same icons in the same places; the main one may have moved on from its start picture.
[ "$(compare -metric AE -fuzz 20% "$icons" "$back" null: 2>&1)" = 0 ] ||
  fail "the icons that came back differ from those before (see $back)"
ok "after the shell restarted, the icons came back by themselves"

# The end of the session saves what is in force: the per-user file's, not the one beside.
wineboot -e >/dev/null 2>&1 || true
for _ in $(seq 1 40); do grep -q HOSTSTATUS "$ini" && [ ! -e "/proc/$program" ] && break; sleep 0.25; done
grep -q '^WORKTIME=1\b' "$ini" || fail "after the restart the per-user file lost the change"
[ "$(sha1sum < "$beside")" = "$before" ] || fail "the file beside the program changed"
ok "after a restart the per-user settings were the ones in force"
echo "e2e: $passed passed, 0 failed"
