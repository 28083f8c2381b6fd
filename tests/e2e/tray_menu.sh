#!/usr/bin/env bash
# The tray as a person uses it: the tip, a click that switches eye care off and on,
# the menu's commands, About opened only once, Ctrl+Shift+I, a picture on the rest
# screen, and Exit from the menu.
# Usage: tray_menu.sh Lumivar.exe OUTDIR   (screenshots are kept in OUTDIR)
set -euo pipefail
. "$(dirname "$0")/lib.sh"
prepare "$1" "$2" '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\n[SCREEN]\r\nBREAKTIME=30\r\nPICTURE=1\r\nSTRETCH=0\r\nPICFILE=bk.png\r\n'
convert -size 640x480 gradient:'#f4d03f-#16a085' "$out/app/bk.png"
start
icon() { shot "$1"; pixel "$1" 12 32; }

for x in 4 6 8 10 12; do xdotool mousemove --window "$tray" "$x" 10; sleep 0.2; done
tip=
for _ in $(seq 1 20); do
  for c in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$c")"
    if [ "$c" != "$tray" ] && [ "$HEIGHT" -ge 78 ] && [ "$HEIGHT" -lt 300 ]; then tip=$c; fi
  done
  [ -n "$tip" ] && break
  sleep 0.25
done
shot 01-tip
[ -n "$tip" ] || fail "no tip over the icon"
ok "the tip shows its six lines (see 01-tip.png)"
xdotool mousemove 500 500

on=$(icon 02-on)
tray_click 1; sleep 1
off=$(icon 03-off)
[ "$on" != "$off" ] || fail "a click did not switch eye care off ($on)"
tray_click 1; sleep 1
[ "$(icon 04-on-again)" = "$on" ] || fail "a second click did not switch it on again"
ok "a click on the icon switches eye care off and on"

tray_menu Up Up Return  # 开始休息(Ctrl+Shift+A)
wait_screen rest 10 06-rest || fail "the menu's 开始休息 did not start a rest"
sleep 1; shot 06-rest
[ "$(pixel 06-rest 200 150)" != "$background" ] || fail "no picture on the rest screen"
[ "$(pixel 06-rest 100 150)" = "$background" ] || fail "the picture is not fitted and centred"
ok "开始休息 from the menu shows the rest screen with the picture"
focus_rest_screen; xdotool key w
wait_screen clear 6 07-back || fail "'w' did not end the rest"

tray_menu Down Return  # 关于眸安星
sleep 2
tray_menu Down Return
sleep 2; shot 08-about
n=$(xdotool search --onlyvisible --name '关于眸安星' 2>/dev/null | wc -l)
[ "$n" -eq 1 ] || fail "$n About windows"
ok "About opens once"
# A click on an empty corner of the dialog (its picture and button open the homepage), then Esc.
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name '关于眸安星' | head -1)")"
xdotool mousemove $((X + WIDTH - 6)) $((Y + 6)) click 1; sleep 0.5; xdotool key Escape
for _ in $(seq 1 20); do xdotool search --onlyvisible --name '关于眸安星' >/dev/null 2>&1 || break; sleep 0.25; done
xdotool search --onlyvisible --name '关于眸安星' >/dev/null 2>&1 && fail "Esc did not close About"

xdotool windowfocus "$tray"; xdotool key ctrl+shift+i; sleep 1
[ "$(icon 09-reset)" = "$on" ] || fail "Ctrl+Shift+I lost the icon"
ok "Ctrl+Shift+I puts the icon back"

tray_menu Up Return  # 退出
for _ in $(seq 1 80); do kill -0 "$program" 2>/dev/null || break; sleep 0.25; done
! kill -0 "$program" 2>/dev/null || fail "退出 did not end the program"
grep -q '^PICFILE=bk.png' "$out/app/Lumivar.ini" || fail "the INI was not saved at exit"
ok "退出 ends the program and saves its settings"
echo "e2e: $passed passed, 0 failed"
