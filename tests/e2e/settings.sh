#!/usr/bin/env bash
# The settings dialog used as a person would: it asks for the password first, shows its six
# pages, opens only once, and what is changed in it (the work length with the keyboard in the
# time picker, the background colour in the colour dialog) takes effect at the next rest and
# lands in the INI file.
# Usage: settings.sh Lumivar.exe OUTDIR   (screenshots are kept in OUTDIR)
set -euo pipefail
. "$(dirname "$0")/lib.sh"
prepare "$1" "$2" '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\nCONFIGPASS=1\r\nSYSTEMPWD=def\r\n[SCREEN]\r\nWORKTIME=30\r\nBREAKTIME=20\r\n'
start

count_windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }

tray_click 1; sleep 0.15; tray_click 1
prompt=$(wait_window '本操作需要输入系统密码' 10) || { shot 00-no-prompt; fail "a double click did not ask for the password"; }
[ "$(count_windows '系统设置')" -eq 0 ] || fail "the settings opened before the password"
xdotool windowfocus "$prompt"; sleep 0.3; xdotool type abc; xdotool key Return
dialog=$(wait_window '眸安星－系统设置' 10) || { shot 00-no-dialog; fail "the right password did not open the settings"; }
ok "a double click on the icon asks for the password, then opens the settings"

xdotool windowfocus "$dialog"; sleep 1; shot 01-general
for page in 02-password 03-mail 04-homepage 05-network 06-day; do
  xdotool key ctrl+Tab; sleep 1; shot "$page"
done
# Each page differs from the one before: Ctrl+Tab really turned them.
prev=
for page in 01-general 02-password 03-mail 04-homepage 05-network 06-day; do
  sum=$(convert "$out/$page.png" -crop 620x480+200+130 +repage -format '%#' info:)
  [ "$sum" != "$prev" ] || fail "page $page looks like the one before it"
  prev=$sum
done
xdotool key ctrl+Tab; sleep 1
ok "the six pages show, Ctrl+Tab turns them"

tray_click 1; sleep 0.15; tray_click 1; sleep 3
[ "$(count_windows '本操作需要输入系统密码')" -eq 0 ] && [ "$(count_windows '眸安星－系统设置')" -eq 1 ] ||
  { shot 06-second-open; fail "a second open request did something"; }
ok "a second open request asks nothing and opens nothing"

# Cancel, then the same dialog from the tray menu, with the password again.
geom=$(xdotool getwindowgeometry "$dialog" | awk '/Position/ {print $2}')
xdotool mousemove $((${geom%,*} + 520)) $((${geom#*,} + 439)) click 1  # 取消
for _ in $(seq 1 20); do [ "$(count_windows '眸安星－系统设置')" -eq 0 ] && break; sleep 0.25; done
[ "$(count_windows '眸安星－系统设置')" -eq 0 ] || fail "取消 did not close the settings"
tray_menu Down Down Down Down Return  # 系统设置
prompt=$(wait_window '本操作需要输入系统密码' 10) || { shot 06-no-prompt; fail "the menu did not ask for the password"; }
xdotool windowfocus "$prompt"; sleep 0.3; xdotool type abc; xdotool key Return
dialog=$(wait_window '眸安星－系统设置' 10) || { shot 06-no-dialog; fail "the menu did not open the settings"; }
ok "取消 closes it; the tray menu opens it again, after the password"

# Work length: the minutes of the work picker, typed as a person would.
geom=$(xdotool getwindowgeometry "$dialog" | awk '/Position/ {print $2}')
dx=${geom%,*}; dy=${geom#*,}
xdotool windowfocus "$dialog"; sleep 0.3
xdotool mousemove $((dx + 168)) $((dy + 64)) click 1; sleep 0.3; xdotool type 01; sleep 0.3
# Background colour: the colour dialog's red, green and blue boxes.
xdotool mousemove $((dx + 159)) $((dy + 182)) click 1
colours=$(wait_window '颜色' 10) || { shot 07-no-colours; fail "the colour button opened no colour dialog"; }
xdotool windowfocus "$colours"; sleep 0.5
xdotool type 0; xdotool key Tab; xdotool type 128; xdotool key Tab; xdotool type 0; sleep 0.5
shot 07-colour
xdotool key Return  # its 确定, the default button
for _ in $(seq 1 20); do [ "$(count_windows '颜色')" -eq 0 ] && break; sleep 0.25; done
sleep 1; shot 08-changed
[ "$(pixel 08-changed $((dx + 60)) $((dy + 226)))" = 'srgb(0,128,0)' ] || fail "the preview does not show the new colour (see 08-changed.png)"
# The day's page with the keyboard alone: Ctrl+Tab to it, its first box, Tab to the next.
xdotool windowfocus "$dialog"; sleep 0.3
for _ in 1 2 3 4 5; do xdotool key ctrl+Tab; sleep 0.3; done
xdotool key End BackSpace BackSpace BackSpace; xdotool type 7
xdotool key Tab End BackSpace BackSpace BackSpace; xdotool type 45; sleep 0.5
shot 08-day-typed
xdotool mousemove $((dx + 419)) $((dy + 439)) click 1
for _ in $(seq 1 20); do [ "$(count_windows '眸安星－系统设置')" -eq 0 ] && break; sleep 0.25; done
[ "$(count_windows '眸安星－系统设置')" -eq 0 ] || { shot 09-still-open; fail "OK did not close the settings"; }
ok "the work length typed in its picker, a colour from the colour dialog and the day's page by keyboard, then OK"

background='srgb(0,128,0)'
wait_screen rest 75 10-rest || fail "no rest in the new colour within a minute of OK"
ok "the next rest came a minute after OK, in the new colour"

wineboot -e >/dev/null 2>&1 || true
ini="$out/app/Lumivar.ini"
for _ in $(seq 1 40); do grep -q HOSTSTATUS "$ini" && break; sleep 0.25; done
grep -q '^WORKTIME=1' "$ini" && grep -q '^BACKCOLOR=32768' "$ini" && grep -q '^NATURALBREAK=7' "$ini" &&
  grep -q '^FULLSCREENWAIT=45' "$ini" ||
  fail "the INI file holds $(grep -E 'WORKTIME|BACKCOLOR|NATURALBREAK|FULLSCREENWAIT' "$ini" | tr '\r\n' '  ')"
wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Lumivar2003 /f >/dev/null 2>&1 || true
ok "the INI file holds WORKTIME=1, BACKCOLOR=32768, NATURALBREAK=7 and FULLSCREENWAIT=45"
echo "e2e: $passed passed, 0 failed"
