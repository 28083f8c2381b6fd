#!/usr/bin/env bash
# Reminders as a person meets them: an entry due in a minute or two beeps, shows its
# notice box counting down on the OK button, confirms itself and starts its program;
# the task list opens from the tray menu with the entries.
# Usage: tasks.sh Lumivar.exe OUTDIR   (screenshots are kept in OUTDIR)
set -euo pipefail
. "$(dirname "$0")/lib.sh"
# Due at the start of a minute at least 20 seconds away, so the program is up in time.
due=$(date -d "@$(( ($(date +%s) + 80) / 60 * 60 ))" +%H:%M)
marker='Z:\\tmp\\lumivar-e2e-task-ran.txt'
rm -f /tmp/lumivar-e2e-task-ran.txt
prepare "$1" "$2" "[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\n[SOUND]\r\nPLAYSOUND=0\r\n[NOTES AND TASKS]\r\nREMIND=1\r\nTIMEOUT=4\r\nTOTALITEM=2\r\nDate0=每天\r\nTIME0=${due#0}\r\nNOTE0=该休息一下眼睛了\$r\$n站起来走一走\r\nTASK0=C:\\\\windows\\\\system32\\\\cmd.exe /c echo ran> ${marker}\r\nDate1=2030年01月01日\r\nTIME1=8:0\r\nNOTE1=新年\r\n"
iconv -f UTF-8 -t GBK "$out/app/Lumivar.ini" > "$out/app/ini.gbk" && mv "$out/app/ini.gbk" "$out/app/Lumivar.ini"
start
echo "entry due at $due (now $(date +%T))"

box=
for _ in $(seq 1 600); do
  box=$(xdotool search --onlyvisible --name '时间到了' 2>/dev/null | head -1) && [ -n "$box" ] && break
  sleep 0.25
done
[ -n "$box" ] || fail "no notice box at $due"
appeared=$(date +%s%N)
sleep 0.7; shot 01-notice
name=$(xdotool getwindowname "$box")
[ "$name" = "时间到了($due)" ] || fail "notice title: $name"
ok "the notice box came at $due titled $name"

# The OK button sits in the lower left of the box: a second later it has changed, and the
# Cancel button beside it has not (the text above holds a blinking caret).
eval "$(xdotool getwindowgeometry --shell "$box")"
part() { convert "$out/$1.png" -crop "$2" +repage -format '%#' info:; }
ok_button="$((WIDTH / 2))x$((HEIGHT / 5))+$X+$((Y + HEIGHT * 4 / 5))"
cancel_button="$((WIDTH / 2))x$((HEIGHT / 5))+$((X + WIDTH / 2))+$((Y + HEIGHT * 4 / 5))"
sleep 1; shot 01-notice-later
[ "$(part 01-notice "$ok_button")" != "$(part 01-notice-later "$ok_button")" ] || fail "the OK button does not count down"
[ "$(part 01-notice "$cancel_button")" = "$(part 01-notice-later "$cancel_button")" ] || fail "the Cancel button changed too"
ok "the OK button counts the seconds down (01-notice.png, 01-notice-later.png)"

for _ in $(seq 1 40); do xdotool search --onlyvisible --name '时间到了' >/dev/null 2>&1 || break; sleep 0.25; done
! xdotool search --onlyvisible --name '时间到了' >/dev/null 2>&1 || fail "the notice box did not confirm itself"
shown_ms=$((($(date +%s%N) - appeared) / 1000000))
[ "$shown_ms" -ge 3500 ] || fail "the box closed after $shown_ms ms, before its 4 s ran out"
for _ in $(seq 1 40); do [ -f /tmp/lumivar-e2e-task-ran.txt ] && break; sleep 0.25; done
[ -f /tmp/lumivar-e2e-task-ran.txt ] || fail "the task's program did not run"
ok "after its countdown the box confirmed itself (gone after $shown_ms ms) and the program ran"

sleep 2  # the box's window takes Wine a moment to take down without a window manager
tray_menu Down Down Down Down Down Return  # 任务与提醒
list=
for _ in $(seq 1 40); do
  list=$(xdotool search --onlyvisible --name '提醒任务配置器' 2>/dev/null | head -1) && [ -n "$list" ] && break
  sleep 0.25
done
[ -n "$list" ] || { shot 02-no-task-list; fail "the task list did not open"; }
sleep 1; shot 02-task-list
ok "the task list opens from the menu (see 02-task-list.png)"
eval "$(xdotool getwindowgeometry --shell "$list")"
xdotool mousemove $((X + 20)) $((Y + HEIGHT - 8)) click 1; sleep 0.3; xdotool key Escape
for _ in $(seq 1 40); do xdotool search --onlyvisible --name '提醒任务配置器' >/dev/null 2>&1 || break; sleep 0.25; done
wineboot -e >/dev/null 2>&1 || true
for _ in $(seq 1 40); do grep -q HOSTSTATUS "$out/app/Lumivar.ini" && break; sleep 0.25; done
iconv -f GBK -t UTF-8 "$out/app/Lumivar.ini" | grep -q '^NOTE0=该休息一下眼睛了\$r\$n站起来走一走' || fail "the entries were not kept"
rm -f /tmp/lumivar-e2e-task-ran.txt
ok "the entries are saved as they were"
echo "e2e: $passed passed, 0 failed"
