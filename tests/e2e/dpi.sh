#!/usr/bin/env bash
# A screen at 150 %: the same person's day at 96 and then at 144 DPI (the prefix's LogPixels).
# At 144 the rest screen's text and corner texts are about one and a half times as tall, the
# lock's box with them, and the settings dialog and the task list grow with the system and
# still fit on the screen. Screenshots of each are kept to be looked at.
# Usage: dpi.sh Lumivar.exe OUTDIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
prepare "$1" "$2" '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\nSTARTUP=0\r\nSYSTEMPWD=def\r\n[SCREEN]\r\nWORKTIME=30\r\nBREAKTIME=20\r\n'
desktop='HKCU\Control Panel\Desktop'
trap 'wineserver -k 2>/dev/null || true; restore_registry; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; true' EXIT
lock_values_as_found "$desktop|LogPixels"

# drawn NAME GEOMETRY: "WxH+X+Y" of what is drawn on the background inside that part of the screenshot
drawn() {
  convert "$out/$1.png" -crop "$2" +repage -fuzz 8% -fill black -opaque "$background" -colorspace gray \
    -threshold 15% -format '%@' info:
}
height() { local g=${1#*x}; echo "${g%%+*}"; }
# grew A B: B is 1.5 times A, give or take what whole pixels and hinting allow
grew() { awk -v a="$1" -v b="$2" 'BEGIN{r = b / a; exit !(r > 1.3 && r < 1.7)}'; }
size() { xdotool getwindowgeometry "$1" | awk '/Geometry/{print $2}'; }
# close WINDOW TITLE: Alt+F4, as a person would (Esc in a settings page closes nothing), and the window is gone
close() {
  xdotool windowfocus "$1"; sleep 0.2; xdotool key alt+F4
  for _ in $(seq 1 20); do xdotool search --onlyvisible --name "$2" >/dev/null 2>&1 || return 0; sleep 0.25; done
  fail "Alt+F4 did not close $2"
}
fits() { local w=${1%x*} h=${1#*x}; [ "$w" -le 1024 ] && [ "$h" -le 768 ]; }

declare -A text countdown clock box settings tasks
for dpi in 96 144; do
  reg_put "$desktop" LogPixels "REG_DWORD $dpi"
  wineserver -k 2>/dev/null || true; wineserver -w
  start

  xdotool windowfocus "$tray"; xdotool key ctrl+shift+a
  wait_screen rest 10 "$dpi-rest" || fail "no rest screen at $dpi DPI"
  sleep 1.5; shot "$dpi-rest"
  text[$dpi]=$(height "$(drawn "$dpi-rest" 1024x300+0+200)")
  countdown[$dpi]=$(height "$(drawn "$dpi-rest" 300x80+0+0)")
  clock[$dpi]=$(height "$(drawn "$dpi-rest" 300x80+724+0)")
  focus_rest_screen; xdotool key w
  wait_screen clear 6 "$dpi-back" || fail "'w' did not end the rest at $dpi DPI"

  xdotool windowfocus "$tray"; xdotool key ctrl+shift+l
  wait_screen rest 10 "$dpi-lock" 60 400 || fail "no lock screen at $dpi DPI"
  sleep 1.5; shot "$dpi-lock"
  read -r _ top _ bottom <<< "$(box "$dpi-lock")"
  box[$dpi]=$((bottom - top))
  focus_rest_screen; xdotool type --delay 60 abc; xdotool key Return
  wait_screen clear 6 "$dpi-unlocked" 60 400 || fail "the password did not unlock at $dpi DPI"

  tray_click 1; sleep 0.15; tray_click 1
  w=$(wait_window '眸安星－系统设置' 10) || fail "no settings dialog at $dpi DPI"
  settings[$dpi]=$(size "$w")
  sleep 1; shot "$dpi-settings"
  close "$w" 系统设置
  tray_menu Down Down Down Down Down Return
  w=$(wait_window '提醒任务配置器' 10) || fail "no task list at $dpi DPI"
  tasks[$dpi]=$(size "$w")
  sleep 1; shot "$dpi-tasks"
  close "$w" 提醒任务配置器
  wineserver -k 2>/dev/null || true; wineserver -w
done

echo "rest text ${text[96]} -> ${text[144]}, countdown ${countdown[96]} -> ${countdown[144]}, clock ${clock[96]} -> ${clock[144]}"
echo "lock box ${box[96]} -> ${box[144]}, settings ${settings[96]} -> ${settings[144]}, tasks ${tasks[96]} -> ${tasks[144]}"
grew "${text[96]}" "${text[144]}" || fail "the rest text did not grow with the DPI"
grew "${countdown[96]}" "${countdown[144]}" && grew "${clock[96]}" "${clock[144]}" ||
  fail "the countdown and the clock did not grow with the DPI"
ok "at 144 DPI the rest text, the countdown and the clock are one and a half times as tall"
grew "${box[96]}" "${box[144]}" || fail "the lock's box did not grow with the DPI"
ok "the lock's box grew with them"
grew "${settings[96]#*x}" "${settings[144]#*x}" && grew "${tasks[96]#*x}" "${tasks[144]#*x}" ||
  fail "the dialogs did not grow with the system"
fits "${settings[144]}" && fits "${tasks[144]}" || fail "a dialog is larger than the screen at 144 DPI"
ok "the settings dialog and the task list grew with the system and fit on the screen"
echo "e2e: $passed passed, 0 failed"
