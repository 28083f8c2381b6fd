#!/usr/bin/env bash
# The first day with the program: with no INI file at all it starts silently to the tray, a
# second copy started meanwhile ends without a trace while the first keeps working, and the
# end of the session writes the file with its seven sections and the defaults. With an exit
# password then set in that file, 退出 asks for it: Esc or a wrong one keep the program
# running, the right one ends it.
# With no INI file the defaults hold, the update check among them: the story runs in a
# network of its own, with no interface up, so nothing can reach another machine.
# Usage: day_start.sh Lumivar.exe OUTDIR   (screenshots are kept in OUTDIR)
set -euo pipefail
if [ "${LUMIVAR_OWN_NETNS:-}" != 1 ]; then
  exec env -u DISPLAY LUMIVAR_OWN_NETNS=1 unshare -n -- "$0" "$@"
fi
. "$(dirname "$0")/lib.sh"
prepare "$1" "$2"
ini="$out/app/Lumivar.ini"

keep_registry "$run|Lumivar2003"
leave_as_found() {
  disown "${program:-}" 2>/dev/null || true
  [ -z "${program:-}" ] || kill -9 "$program" 2>/dev/null || true
  restore_registry
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  true
}
trap leave_as_found EXIT
without_run_value "$run"

# visible: the mapped windows, the root one aside
visible() {
  local root
  root=$(printf '%d' "$(xwininfo -root | awk '/Window id:/ {print $4}')")
  xdotool search --onlyvisible --name '' 2>/dev/null | grep -vx "$root" | sort -n | tr '\n' ' '
}
tray_picture() {
  shot "$1"
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  echo "${WIDTH}x${HEIGHT} $(convert "$out/$1.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format '%#' info:)"
}
running() { kill -0 "$program" 2>/dev/null; }

[ ! -e "$ini" ] || fail "an INI file before the first start"
start
shot 01-first-start
[ "$(pixel 01-first-start 512 700)" != "$background" ] || fail "a rest screen at the first start"
# The main window hides itself at its first tick; Wine takes a moment to unmap it.
for _ in $(seq 1 40); do [ "$(visible)" = "$tray " ] && break; sleep 0.25; done
windows=$(visible)
[ "$windows" = "$tray " ] || { shot 01-first-start; fail "windows besides the tray icon: $windows"; }
[ ! -e "$ini" ] || fail "the INI file was written at the start"
ok "the first start, with no INI file, shows only the tray icon"

# A second copy, from the same folder and from another: the program's name is what counts.
mkdir -p "$out/elsewhere"
cp "$out/app/Lumivar.exe" "$out/elsewhere/"
before=$(tray_picture 02-before-second)
for dir in app elsewhere; do
  (cd "$out/$dir" && exec wine Lumivar.exe) & second=$!
  for _ in $(seq 1 80); do
    [ "$(visible)" = "$windows" ] || { shot "03-second-$dir"; fail "the second copy from $dir showed a window: $(visible)"; }
    kill -0 "$second" 2>/dev/null || break
    sleep 0.25
  done
  ! kill -0 "$second" 2>/dev/null || fail "the second copy from $dir is still running after 20 s"
  wait "$second" || fail "the second copy from $dir ended with $?"
  sleep 1
  [ "$(tray_picture "03-second-$dir")" = "$before" ] || fail "the tray changed with the second copy from $dir"
  running || fail "the first copy ended with the second from $dir"
done
ok "a second copy, from the same folder or another, ends at once without a window or a tray icon"

xdotool windowfocus "$tray"; xdotool key ctrl+shift+a
wait_screen rest 10 04-rest || fail "Ctrl+Shift+A did not bring the rest screen to the first copy"
sleep 1.5; shot 04-rest
awk -v v="$(brightest 04-rest 90x16+0+0)" 'BEGIN{exit !(v > 0.8)}' || fail "no countdown at the top left"
convert "$out/04-rest.png" -crop 400x80+312+300 -format '%[fx:maxima.r]' info: |
  awk '{exit !($1 > 0.9)}' || fail "no text line in the middle"
wait_screen clear 15 05-rest-over || fail "the default rest of 6 s did not end by itself"
ok "the first copy keeps working: a rest in the default colours, over by itself"

# The defaults start the program with the system; the value goes now, so that no later Wine
# session of this prefix starts this copy.
[[ "$(reg_get "$run" Lumivar2003)" == *Lumivar.exe* ]] || fail "no Run value: '$(reg_get "$run" Lumivar2003)'"
reg_put "$run" Lumivar2003 ''
[ ! -e "$ini" ] || fail "the INI file was written before the end of the session"
wineboot -e >/dev/null 2>&1 || true
for _ in $(seq 1 40); do running || break; sleep 0.25; done
! running || fail "the end of the session did not end the program"
[ -f "$ini" ] || fail "no INI file after the end of the session"
text=$(iconv -f GBK -t UTF-8 "$ini" | tr -d '\r')
sections=$(grep -o '^\[[^]]*\]' <<< "$text" | tr '\n' ' ')
[ "$sections" = "[Lumivar2003] [SCREEN] [SOUND] [NOTES AND TASKS] [HOMEPAGE] [MAIL] [HOSTSTATUS] " ] ||
  fail "sections written: $sections"
# ini_value SECTION KEY: the value as the file holds it
ini_value() { awk -v s="[$1]" -v k="$2" '/^\[/ {in_s = ($0 == s)} in_s && index($0, k "=") == 1 {print substr($0, length(k) + 2)}' <<< "$text"; }
while IFS='|' read -r section key want; do
  got=$(ini_value "$section" "$key")
  [ "$got" = "$want" ] || fail "[$section] $key=$got, the default is $want"
done <<'EOF'
Lumivar2003|VERSION|V1.25 2004贺岁版 Build12.18
Lumivar2003|STARTUP|1
Lumivar2003|AUTOCHECKNEWVERSION|1
Lumivar2003|EXITPASS|0
Lumivar2003|SYSTEMPWD|
SCREEN|WORKTIME|5
SCREEN|BREAKTIME|6
SCREEN|NATURALBREAK|5
SCREEN|FULLSCREENWAIT|30
SCREEN|PREWARN|30
SCREEN|TEXT|保护视力
SCREEN|BACKCOLOR|6832395
SCREEN|TEXTCOLOR|12627706
SCREEN|PICFILE|bk.jpg
SOUND|PLAYSOUND|1
NOTES AND TASKS|REMIND|1
NOTES AND TASKS|TOTALITEM|0
HOMEPAGE|WATCH|0
MAIL|CHECK|0
MAIL|SERVER|pop3mailserver
HOSTSTATUS|MONITOR|0
HOSTSTATUS|HOSTNAME|localhost
EOF
ok "the end of the session wrote the INI file: seven sections in order, the defaults"

# The user's own settings, as a person edits the file: an exit password (abc, stored
# scrambled), and no start with the system. VERSION goes: only a save writes it back.
LC_ALL=C sed -i 's/^EXITPASS=0/EXITPASS=1/; s/^SYSTEMPWD=/SYSTEMPWD=def/; s/^STARTUP=1/STARTUP=0/; /^VERSION=/d' "$ini"
start
# ask_exit NAME: 退出 from the tray menu, up to the password prompt
ask_exit() {
  tray_menu Up Return  # 退出
  prompt=$(wait_window '本操作需要输入系统密码' 10) || { shot "$1"; fail "退出 did not ask for the exit password"; }
  sleep 0.5; shot "$1"
  xdotool windowfocus "$prompt"; sleep 0.3
}
prompt_gone() {
  for _ in $(seq 1 20); do xdotool search --onlyvisible --name '本操作需要输入系统密码' >/dev/null 2>&1 || return 0; sleep 0.25; done
  return 1
}

ask_exit 06-exit-asks
xdotool key Escape
prompt_gone || fail "Esc did not close the password prompt"
sleep 2; shot 07-exit-cancelled
! xdotool search --onlyvisible --name '^Lumivar$' >/dev/null 2>&1 || fail "Esc brought a message"
running || fail "Esc in the exit prompt ended the program"
ok "退出 asks for the exit password; Esc keeps the program running without a word"

ask_exit 08-exit-asks-again
xdotool type --delay 60 abd; xdotool key Return
message=$(wait_window '^Lumivar$' 10) || { shot 09-no-message; fail "a wrong exit password brought no message"; }
sleep 0.5; shot 09-wrong-password
xdotool windowfocus "$message"; sleep 0.3; xdotool key Return
for _ in $(seq 1 20); do xdotool search --onlyvisible --name '^Lumivar$' >/dev/null 2>&1 || break; sleep 0.25; done
sleep 2
running || fail "a wrong exit password ended the program"
xdotool windowfocus "$tray"; xdotool key ctrl+shift+a
wait_screen rest 10 10-rest-after-wrong || fail "after a wrong exit password Ctrl+Shift+A brought no rest"
focus_rest_screen; xdotool key w
wait_screen clear 6 11-back || fail "'w' did not end the rest"
ok "a wrong exit password: its message, and the program runs on (a rest from Ctrl+Shift+A, 'w')"

ask_exit 12-exit-asks-last
xdotool type --delay 60 abc; xdotool key Return
for _ in $(seq 1 40); do running || break; sleep 0.25; done
! running || { shot 13-still-running; fail "the right exit password did not end the program"; }
for _ in $(seq 1 20); do xdotool search --onlyvisible --name 'Wine System Tray' >/dev/null 2>&1 || break; sleep 0.25; done
shot 13-ended
! xdotool search --onlyvisible --name 'Wine System Tray' >/dev/null 2>&1 || fail "the tray icon stayed after the exit"
text=$(iconv -f GBK -t UTF-8 "$ini" | tr -d '\r')
[ -n "$(ini_value Lumivar2003 VERSION)" ] || fail "the exit did not save the settings"
[ "$(ini_value Lumivar2003 EXITPASS)" = 1 ] && [ "$(ini_value Lumivar2003 SYSTEMPWD)" = def ] ||
  fail "the exit saved EXITPASS=$(ini_value Lumivar2003 EXITPASS) SYSTEMPWD=$(ini_value Lumivar2003 SYSTEMPWD)"
[ -z "$(reg_get "$run" Lumivar2003)" ] || fail "STARTUP=0 left a Run value"
ok "the right exit password ends the program, its icon goes and its settings are saved"
echo "e2e: $passed passed, 0 failed"
