#!/usr/bin/env bash
# A person whose page and mailbox are behind TLS, as today's are, against local peers with a
# test authority the prefix trusts for the run: the watched http:// address redirects to
# https://, and the final page prompts when it changes; the mailbox on localhost:995 brings the
# new-mail prompt; a rest counts down while a check waits on a TLS server that says nothing
# after the handshake, which is given up on without a prompt; a mail server whose certificate
# names another host brings the question whether to go on watching, and never hears the account.
# Usage: tls_day.sh Lumivar.exe OUTDIR   (screenshots and the peers' log in OUTDIR)
set -euo pipefail
. "$(dirname "$0")/lib.sh"
prepare "$1" "$2"
make_certificates "$out/certs"
peer=
trap 'kill $peer 2>/dev/null; wineserver -k 2>/dev/null || true; restore_registry; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; true' EXIT
keep_registry "$run|Lumivar2003" -- "$(authority_key "$out/certs")"
trust_authority "$out/certs"
echo '护眼 v1' > "$out/peer-page"
start_tls_peer "$out/certs" 995  # root may bind it, as in CI
# ini WATCH MAIL-SERVER [ADDRESS]: the watched page (by default the redirect to https) and the
# mailbox, both at 1 minute
ini() {
  printf '%b' "[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\nSTARTUP=0\r\n[SOUND]\r\nPLAYSOUND=0\r\n[HOMEPAGE]\r\nWATCH=$1\r\nINTERVAL=1\r\nADDRESS=${3:-http://localhost:$(peer_port redirect)/go}\r\n[MAIL]\r\nCHECK=1\r\nINTERVAL=1\r\nSERVER=$2\r\nUSER=me\r\nPASS=sz\r\n" > "$out/app/Lumivar.ini"
}
quit() {
  tray_menu Up Return  # 退出
  for _ in $(seq 1 40); do [ ! -e "/proc/$program" ] && break; sleep 0.25; done
  [ ! -e "/proc/$program" ] || fail "退出 did not end the program"
}
# close TITLE PERCENT: a click on the prompt's button that far across it, and it is gone (two
# prompts may come at once, and the second one does not have the keyboard)
close() {
  local w
  w=$(wait_window "$1" 5) || fail "no prompt '$1' to close"
  eval "$(xdotool getwindowgeometry --shell "$w")"
  xdotool mousemove $((X + WIDTH * $2 / 100)) $((Y + HEIGHT * 9 / 10)) click 1
  for _ in $(seq 1 20); do xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0; sleep 0.25; done
  fail "the prompt '$1' did not close"
}

ini 1 localhost:995
start
# INTERVAL=1: both first checks come a minute after the start.
wait_window '网页内容' 90 >/dev/null || { shot 01-no-page; fail "no page prompt ($(tr '\n' ';' < "$out/peer.log"))"; }
sleep 1; shot 01-page
grep -q 'redirect GET /go' "$out/peer.log" && grep -q 'https GET /page' "$out/peer.log" ||
  fail "the page was not fetched through the redirect to https"
close '网页内容' 73  # 取消: nothing is opened
wait_window '邮件监测器 ' 30 >/dev/null || { shot 02-no-mail; fail "no new-mail prompt ($(tr '\n' ';' < "$out/peer.log"))"; }
sleep 1; shot 02-mail
grep -q 'pop3s tls PASS pw' "$out/peer.log" || fail "the mailbox on 995 did not hear the login in TLS"
close '邮件监测器 ' 30  # 确定
ok "the page behind a redirect to https and the mailbox on localhost:995 prompt (see 01-page.png, 02-mail.png)"

echo '护眼 v2' > "$out/peer-page"
wait_window '网页内容' 90 >/dev/null || { shot 03-no-change; fail "no prompt for the changed page"; }
sleep 1; shot 03-changed
close '网页内容' 73  # 取消: nothing is opened
ok "the final page's change prompts again (see 03-changed.png)"

quit
# The mail check comes a minute after the start, when this part is over.
ini 1 localhost:995 "https://localhost:$(peer_port silent)/page"
start
tray_menu Up Up Up Up Up Up Right Up Up Return  # 执行命令 > 检测主页内容
for _ in $(seq 1 40); do grep -q 'silent GET /page' "$out/peer.log" && break; sleep 0.25; done
grep -q 'silent GET /page' "$out/peer.log" || fail "检测主页内容 did not reach the silent TLS server"
asked=$(date +%s)
tray_menu Up Up Return  # 开始休息(Ctrl+Shift+A)
wait_screen rest 10 05-no-rest || fail "no rest while the check was out"
sleep 1; shot 05-rest
sleep 3; shot 06-rest-later
countdown_moved 05-rest 06-rest-later || fail "the countdown stood still while the check was out"
ok "a rest counts down while the check waits on a silent TLS server (see 05-rest.png, 06-rest-later.png)"
for _ in $(seq 1 200); do grep -q 'silent client gave up' "$out/peer.log" && break; sleep 0.25; done
grep -q 'silent client gave up' "$out/peer.log" || fail "the check never gave up on the silent TLS server"
waited=$(($(date +%s) - asked))
[ "$waited" -le 40 ] || fail "the silent TLS server held the check for $waited s"
sleep 2
xdotool search --onlyvisible --name '网页内容' >/dev/null 2>&1 && { shot 07-prompt; fail "a silent server prompted"; }
focus_rest_screen; xdotool key w
wait_screen clear 6 07-not-back || fail "'w' did not end the rest"
ok "the check gave up on the silent TLS server after about $waited s, with no prompt"
quit

ini 0 "localhost:$(peer_port pop3bad)"
start
question=$(wait_window '邮件监测器配置' 100) || true
shot 08-question
[ -n "$question" ] || fail "no question for a certificate that names another host"
grep -q 'pop3bad handshake failed\|pop3bad plain STLS' "$out/peer.log" || fail "the STLS server was not reached"
! grep -q 'pop3bad .*\(USER\|PASS\)' "$out/peer.log" || fail "the account went to a server with another host's certificate"
ok "a certificate for another host: the question whether to go on watching, and no login (see 08-question.png)"
echo "e2e: $passed passed, 0 failed"
