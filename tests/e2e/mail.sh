#!/usr/bin/env bash
# The mail monitor as a person meets it, against a POP3 server on 127.0.0.1:110 (the
# program's own port; binding it needs root, as the tests run in CI): two new mails bring
# a prompt and a second tray icon, whose menu dismisses the notice; a server that never
# answers leaves the rest screen counting down and, after the time limit, asks whether to
# go on watching.
# Usage: mail.sh Lumivar.exe OUTDIR   (screenshots are kept in OUTDIR)
set -euo pipefail
. "$(dirname "$0")/lib.sh"
prepare "$1" "$2" '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\n[SCREEN]\r\nWORKTIME=30\r\nBREAKTIME=120\r\n[SOUND]\r\nPLAYSOUND=0\r\n[MAIL]\r\nCHECK=1\r\nINTERVAL=1\r\nSERVER=127.0.0.1\r\nUSER=alice\r\n'

# The mailbox: "count N" or "silent", read at each connection.
echo "count 2" > "$out/mailbox"
python3 "$(dirname "$0")/pop3_peer.py" 110 "$out/mailbox" "$out/pop3.log" & pop3=$!
trap 'kill $pop3 2>/dev/null; wineserver -k 2>/dev/null || true; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; true' EXIT
for _ in $(seq 1 20); do grep -q listening "$out/pop3.log" 2>/dev/null && break; sleep 0.25; done
grep -q listening "$out/pop3.log" 2>/dev/null || fail "the POP3 server could not listen on 127.0.0.1:110"

start
# The second icon's place in the tray: white while there is none.
mail_icon() { shot "$1"; convert "$out/$1.png" -crop 16x16+25+24 +repage -format '%[fx:mean < 0.95]' info:; }
[ "$(mail_icon 00-started)" = 0 ] || fail "a mail icon before any check"

# INTERVAL=1: the first check comes a minute after the start.
box=
for _ in $(seq 1 360); do
  box=$(xdotool search --onlyvisible --name '邮件监测器 ' 2>/dev/null | head -1) && [ -n "$box" ] && break
  sleep 0.25
done
[ -n "$box" ] || { shot 01-no-prompt; fail "no new-mail prompt ($(cat "$out/pop3.log" | tr '\n' ';'))"; }
sleep 1; shot 01-new-mail
name=$(xdotool getwindowname "$box")
[[ "$name" =~ ^邮件监测器\ [0-9]{2}:[0-9]{2}$ ]] || fail "prompt title: $name"
grep -q 'USER alice' "$out/pop3.log" && grep -q 'STAT' "$out/pop3.log" && grep -q 'QUIT' "$out/pop3.log" ||
  fail "the dialogue: $(tr '\n' ';' < "$out/pop3.log")"
[ "$(mail_icon 01-new-mail)" = 1 ] || fail "no second tray icon"
ok "two new mails: the prompt '$name' and a second tray icon (see 01-new-mail.png)"

xdotool windowfocus "$box"; sleep 0.3; xdotool key Return
for _ in $(seq 1 40); do xdotool search --onlyvisible --name '邮件监测器 ' >/dev/null 2>&1 || break; sleep 0.25; done
! xdotool search --onlyvisible --name '邮件监测器 ' >/dev/null 2>&1 || fail "the prompt did not close"
sleep 2

# The mail icon is the second one; its menu's first item dismisses the notice.
m=
for attempt in 1 2 3; do
  tray=$(xdotool search --onlyvisible --name 'Wine System Tray' 2>/dev/null | tail -1)
  xdotool mousemove --window "$tray" 29 10 click 3
  for _ in $(seq 1 16); do
    m=$(for c in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
      if [ "$c" != "$tray" ] && xdotool getwindowgeometry "$c" | grep -q 'Geometry: [0-9]*x[2-6][0-9]$'; then echo "$c"; fi
    done | sort -n | tail -1)
    [ -n "$m" ] && break 2
    sleep 0.25
  done
done
[ -n "$m" ] || { shot 02-no-menu; fail "no menu on the mail icon"; }
shot 02-mail-menu
xdotool windowfocus "$m"; sleep 0.2; xdotool key Down Return
gone=
for _ in $(seq 1 20); do [ "$(mail_icon 03-dismissed)" = 0 ] && gone=1 && break; sleep 0.25; done
[ -n "$gone" ] || fail "知道了 did not remove the mail icon"
ok "知道了，过会儿再提醒我！ from the mail icon's menu removes it (see 02-mail-menu.png, 03-dismissed.png)"

# The next check comes a minute after the prompt closed; the server says nothing then.
echo silent > "$out/mailbox"
xdotool windowfocus "$tray"; xdotool key ctrl+shift+a
wait_screen rest 10 04-rest || fail "Ctrl+Shift+A did not bring the rest screen"
for _ in $(seq 1 360); do grep -q 'connected, silent' "$out/pop3.log" && break; sleep 0.25; done
grep -q 'connected, silent' "$out/pop3.log" || fail "no check against the silent server"
sleep 2; shot 05-countdown-a
sleep 3; shot 06-countdown-b
countdown_moved 05-countdown-a 06-countdown-b || fail "the countdown stood still while the server was silent"
grep -q 'client gave up' "$out/pop3.log" && fail "the check gave up too early"
ok "the rest counts down while the check waits on a silent server (see 05-countdown-a.png, 06-countdown-b.png)"

# Each reply waits at most 15 s; then the login counts as failed and the program asks.
question=$(wait_window '邮件监测器配置' 25) || true
shot 07-question
[ -n "$question" ] || fail "no question after the time limit"
grep -q 'client gave up' "$out/pop3.log" || fail "the connection to the silent server stayed open"
waited=$(awk '/connected, silent/{s=$1} /client gave up/{e=$1} END{printf "%d", e - s}' "$out/pop3.log")
[ "$waited" -ge 13 ] && [ "$waited" -le 20 ] || fail "gave up after $waited s"
ok "after $waited s of silence the program gave up and asks whether to go on watching"
echo "e2e: $passed passed, 0 failed"
