#!/usr/bin/env bash
# The host monitor as a person sees it, in a network of the test's own: with the loopback
# down the watched host 127.0.0.1 stops answering, and the tray icon, the tip and a prompt
# say so; with the loopback up again it answers, and they say that too. Nothing here can
# reach another machine: the namespace has no other interface.
# Usage: host.sh Lumivar.exe OUTDIR   (screenshots are kept in OUTDIR)
set -euo pipefail
if [ "${LUMIVAR_OWN_NETNS:-}" != 1 ]; then
  # Everything of this Wine run, its display included, lives in the new namespace.
  exec env -u DISPLAY LUMIVAR_OWN_NETNS=1 unshare -n -- "$0" "$@"
fi
. "$(dirname "$0")/lib.sh"
ip link show lo | grep -q 'state DOWN\|<LOOPBACK>' || fail "the namespace's loopback is not down"
prepare "$1" "$2" '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\n[NOTES AND TASKS]\r\nTIMEOUT=0\r\n[HOSTSTATUS]\r\nMONITOR=1\r\nHOSTNAME=127.0.0.1\r\nINTERVAL=1\r\n'
start

# The tray icon's picture, cut out of a screenshot.
icon() {
  shot "$1"
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  convert "$out/$1.png" -crop "24x${HEIGHT}+${X}+${Y}" +repage "$out/$1-icon.png"
  identify -format '%#' "$out/$1-icon.png"
}
# The tip over the icon, cut out of a screenshot taken while it shows (its window has no title
# to read, so the picture is compared: only the host line changes between the states here).
tip() {
  local c
  for x in 4 6 8 10 12; do xdotool mousemove --window "$tray" "$x" 10; sleep 0.2; done
  for _ in $(seq 1 20); do
    for c in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$c")"
      if [ "$c" != "$tray" ] && [ "$HEIGHT" -ge 78 ] && [ "$HEIGHT" -lt 300 ]; then
        shot "$1"
        convert "$out/$1.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1-tip.png"
        xdotool mousemove 500 500
        identify -format '%#' "$out/$1-tip.png"
        return 0
      fi
    done
    sleep 0.25
  done
  shot "$1"
  fail "no tip over the icon (see $1.png)"
}
# wait_prompt SECONDS: the window id of the state-change prompt
wait_prompt() {
  local w=
  for _ in $(seq 1 $(($1 * 4))); do
    w=$(xdotool search --onlyvisible --name '^网络连接状态 [0-9][0-9]:[0-9][0-9]$' 2>/dev/null | head -1) && [ -n "$w" ] && break
    sleep 0.25
  done
  printf '%s' "$w"
}
close_prompt() {
  xdotool windowfocus "$1"; sleep 0.3; xdotool key Return
  for _ in $(seq 1 40); do xdotool search --onlyvisible --name '^网络连接状态' >/dev/null 2>&1 || return 0; sleep 0.25; done
  fail "the prompt did not close"
}

reachable_tip=$(tip 01-tip-start)
reachable_icon=$(icon 02-started)
ok "started; no check yet, the host counts as reachable (see 01-tip-start-tip.png)"

# Timer 4 fires a minute after the start; with no loopback every echo fails at once.
w=$(wait_prompt 100)
[ -n "$w" ] || { shot 03-no-prompt; fail "no prompt after the first check"; }
sleep 2; shot 03-unreachable-prompt
ok "the check found the host gone and prompted: $(xdotool getwindowname "$w") (see 03-unreachable-prompt.png)"
close_prompt "$w"
[ "$(tip 04-tip-unreachable)" != "$reachable_tip" ] || fail "the tip did not change"
[ "$(icon 05-unreachable)" != "$reachable_icon" ] || fail "the tray icon did not change"
ok "the tray icon and the tip changed (see 04-tip-unreachable-tip.png, 05-unreachable-icon.png)"

# The loopback comes back; 检测网络状态 (执行命令's last item) checks at once, and its echoes are answered.
ip link set lo up
tray_menu Up Up Up Up Up Up Right Up Return
w=$(wait_prompt 30)
[ -n "$w" ] || { shot 06-no-prompt; fail "no prompt once the host answered again"; }
sleep 2; shot 06-reachable-prompt
ok "检测网络状态: a real echo of 127.0.0.1 answered and the prompt says so (see 06-reachable-prompt.png)"
close_prompt "$w"
[ "$(tip 07-tip-reachable)" = "$reachable_tip" ] || fail "the tip is not back to 可连接"
# Wine's tray draws the new icon over the old without erasing, so the red dot's rim stays:
# the picture is only known to have changed again.
[ "$(icon 08-reachable)" != "$(identify -format '%#' "$out/05-unreachable-icon.png")" ] ||
  fail "the tray icon did not change back"
ok "the tip is back to 可连接 and the icon changed back (see 07-tip-reachable-tip.png)"
echo "e2e: $passed passed, 0 failed"
