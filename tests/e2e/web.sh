#!/usr/bin/env bash
# The web page monitor and the update check as a person meets them, against a local web
# server that is also the proxy of the user's Internet Settings: the watched page prompts
# when it changed, "版本升级检查" gives its three answers for the update sites' names, and a
# page that never answers freezes nothing: a rest started meanwhile counts down.
# Usage: web.sh Lumivar.exe OUTDIR   (screenshots, the peer's log, in OUTDIR)
set -euo pipefail
. "$(dirname "$0")/lib.sh"
out=$2
rm -rf "$out" && mkdir -p "$out"
python3 "$(dirname "$0")/web_peer.py" "$out/port" "$out/peer.log" "$out/mode" & peer=$!
for _ in $(seq 1 40); do [ -s "$out/port" ] && break; sleep 0.1; done
port=$(cat "$out/port")
prepare "$1" "$2/run" "[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\n[SCREEN]\r\nBREAKTIME=40\r\n[HOMEPAGE]\r\nWATCH=1\r\nINTERVAL=1\r\nADDRESS=http://127.0.0.1:$port/page\r\n"
out=$2/run
log=$2/peer.log mode=$2/mode

# The prefix's proxy for this story only; what was there before is put back.
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
saved=$(wine reg query "$key" 2>/dev/null | tr -d '\r' | grep -E '^ +Proxy(Enable|Server|Override) ' || true)
restore() {
  for v in ProxyEnable ProxyServer ProxyOverride; do timeout 30 wine reg delete "$key" /v $v /f >/dev/null 2>&1 || true; done
  while read -r name type data; do
    [ -n "$name" ] && timeout 30 wine reg add "$key" /v "$name" /t "$type" /d "$data" /f >/dev/null 2>&1
  done <<< "$saved"
}
# The program goes first; then the values are put back and the prefix's server is let to
# write them to disk before it ends.
trap 'set +e; kill $peer 2>/dev/null; wineserver -k 2>/dev/null || true; restore; timeout 30 wineserver -w; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; true' EXIT
wine reg add "$key" /v ProxyEnable /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$key" /v ProxyServer /t REG_SZ /d "127.0.0.1:$port" /f >/dev/null
wine reg add "$key" /v ProxyOverride /t REG_SZ /d "<local>" /f >/dev/null

# cancel WINDOW: Esc on a prompt (Cancel: nothing is opened)
cancel() {
  xdotool windowfocus "$1"; sleep 0.3; xdotool key Escape
  for _ in $(seq 1 20); do xdotool search --onlyvisible --name "$2" >/dev/null 2>&1 || return 0; sleep 0.25; done
  fail "the prompt '$2' did not close"
}

echo page > "$mode"
start
w=$(wait_window '网页内容' 90) || { shot no-prompt; fail "no change prompt within the interval"; }
sleep 2; shot 01-page-changed
grep -q "REQUEST GET http://127.0.0.1:$port/page HTTP/1.0 | Host: 127.0.0.1:$port | User-Agent: Mozilla | Pragma: no-cache | Cache-Control: no-cache | Accept: \*/\*\$" "$log" ||
  fail "the page request was not as expected: $(grep REQUEST "$log" | head -1)"
ok "the watched page, fetched through the proxy, prompts (see 01-page-changed.png)"
cancel "$w" '网页内容'

# Guard: without the proxy the sites' names would be looked up for real.
proxy_set() { wine reg query "$key" /v ProxyServer 2>/dev/null | tr -d '\r' | grep -q "127.0.0.1:$port"; }
i=1
for outcome in current:恭喜 newer:本软件有更新版本 none:抱歉; do
  echo "${outcome%%:*}" > "$mode"
  proxy_set || fail "the proxy setting is gone"
  tray_menu Down Down Return  # 版本升级检查
  w=$(wait_window "${outcome#*:}" 30) || { shot "no-${outcome%%:*}"; fail "no '${outcome#*:}' answer for ${outcome%%:*}"; }
  i=$((i + 1)); sleep 2; shot "0$i-update-${outcome%%:*}"
  cancel "$w" "${outcome#*:}"
  ok "版本升级检查: '${outcome#*:}' when the sites say ${outcome%%:*} (see 0$i-update-${outcome%%:*}.png)"
done
grep -q 'REQUEST GET http://lumivar.github.io/update.ini HTTP/1.0' "$log" || fail "site B was never asked"

echo silent > "$mode"
before=$(grep -c '/page HTTP' "$log")
tray_menu Up Up Up Up Up Up Right Up Up Return  # 执行命令 > 检测主页内容
for _ in $(seq 1 40); do [ "$(grep -c '/page HTTP' "$log")" -gt "$before" ] && break; sleep 0.25; done
[ "$(grep -c '/page HTTP' "$log")" -gt "$before" ] || fail "检测主页内容 did not fetch the page"
tray_menu Up Up Return  # 开始休息(Ctrl+Shift+A)
wait_screen rest 10 05-rest || fail "no rest while the page was silent"
sleep 1; shot 05-rest
sleep 3; shot 06-rest-later
countdown_moved 05-rest 06-rest-later || fail "the countdown stood still while the check was out"
ok "a rest counts down while the page stays silent (05-rest.png, 06-rest-later.png)"
for _ in $(seq 1 140); do grep -q SILENT "$log" && break; sleep 0.25; done
grep -q SILENT "$log" || fail "the check did not give up on the silent page"
gave_up=$(grep SILENT "$log" | sed 's/.*after \([0-9.]*\) s/\1/')
awk -v s="$gave_up" 'BEGIN{exit !(s <= 30)}' || fail "the check waited $gave_up s"
ok "the check gave up on the silent page after $gave_up s, with no prompt"
xdotool search --onlyvisible --name '网页内容' >/dev/null 2>&1 && fail "a silent page prompted"

focus_rest_screen; xdotool key w
wait_screen clear 6 07-back || fail "'w' did not end the rest"
tray_menu Up Return  # 退出
for _ in $(seq 1 80); do kill -0 "$program" 2>/dev/null || break; sleep 0.25; done
! kill -0 "$program" 2>/dev/null || fail "退出 did not end the program"
grep -q '^WATCH=1' "$out/app/Lumivar.ini" || fail "the monitor was switched off"
ok "退出 ends the program; the monitor stays on"
echo "e2e: $passed passed, 0 failed"
