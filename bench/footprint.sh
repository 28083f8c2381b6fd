#!/usr/bin/env bash
# Footprint of Lumivar.exe under Wine, every monitor on at its shortest interval against
# peers on 127.0.0.1, next to a bare tray program; prints one markdown table. Builds nothing.
# Usage: bench/footprint.sh [Lumivar.exe] [bare_tray.exe] [bench_repaint]
#   defaults: build/windows/Lumivar.exe, build/windows/bare_tray.exe, build/native/bench_repaint
#   (cmake --build --preset windows --target bare_tray; cmake --build --preset native --target bench_repaint)
# WINEPREFIX: the prefix to use; unset, a copy of build/wine-prefix is used and removed.
# CHECKS (100) monitor checks, at most CHECK_SECONDS (240); BENCH_OUT keeps the run's folder.
# TLS=1: the web page over HTTPS after a redirect, the mail on port 995 in TLS, with a test
# authority the prefix trusts for the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${LUMIVAR_OWN_NETNS:-}" != 1 ]; then
  # A network of its own: nothing can leave the machine, and port 110 is free for the peer.
  exec env -u DISPLAY LUMIVAR_OWN_NETNS=1 unshare -n -- "$0" "$@"
fi
ip link set lo up

abs() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
exe=$(abs "${1:-$root/build/windows/Lumivar.exe}")
bare=${2:-$root/build/windows/bare_tray.exe}
repaint=${3:-$root/build/native/bench_repaint}
[ -f "$exe" ] || { echo "no $exe" >&2; exit 2; }
checks_wanted=${CHECKS:-100} check_seconds=${CHECK_SECONDS:-240} tls=${TLS:-0}

work=${BENCH_OUT:-$(mktemp -d /tmp/lumivar-bench.XXXXXX)}
mkdir -p "$work" && work=$(cd "$work" && pwd)
own_prefix=
if [ -z "${WINEPREFIX:-}" ]; then
  own_prefix=1
  export WINEPREFIX=$work/wine-prefix
  if [ -d "$root/build/wine-prefix" ]; then cp -a "$root/build/wine-prefix" "$WINEPREFIX"; fi
fi
# Out of tests/e2e/lib.sh: the locale the program's users run, focus_rest_screen, tray_menu.
. "$root/tests/e2e/lib.sh"
out=$work
export DISPLAY=:$((200 + RANDOM % 100))
Xvfb "$DISPLAY" -screen 0 1024x768x24 >/dev/null 2>&1 & xvfb=$!
peers= trusted=
cleanup() {
  set +e
  kill $peers 2>/dev/null
  [ -n "$trusted" ] && wine reg delete "$trusted" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null
  kill "$xvfb" 2>/dev/null
  [ -n "$own_prefix" ] && rm -rf "$WINEPREFIX"
  [ -z "${BENCH_OUT:-}" ] && rm -rf "$work"
  true
}
trap cleanup EXIT
sleep 1
[ -d "$WINEPREFIX/drive_c" ] || wineboot -i >/dev/null 2>&1
wineserver -p  # kept up between programs, so start-up times do not include Wine's own
wine reg query 'HKCU\Environment' >/dev/null 2>&1 || true

# --- measuring -------------------------------------------------------------------------
now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN{printf "%.2f", b - a}'; }
# winpid NAME DIR: the Windows process itself (its cmdline names the .exe), not wine's loader
winpid() {
  local p cmd
  for p in /proc/[0-9]*; do
    cmd=$( { tr '\0' '\n' < "$p/cmdline" | head -1; } 2>/dev/null) || continue
    cmd=${cmd##*[\\/]}
    [ "${cmd,,}" = "${1,,}" ] && [ "$(readlink "$p/cwd" 2>/dev/null)" = "$2" ] && { echo "${p#/proc/}"; return 0; }
  done
  return 1
}
# tls_mapped PID: whether the TLS libraries are in the process
tls_mapped() { if grep -qiE 'schannel|gnutls' "/proc/$1/maps"; then echo loaded; else echo "not loaded"; fi; }
dirty() { awk '/^Private_Dirty:/ {k += $2} END {printf "%.1f", k / 1024}' "/proc/$1/smaps_rollup"; }
uss() { awk '/^Private_(Clean|Dirty|Hugetlb):/ {k += $2} END {printf "%.1f", k / 1024}' "/proc/$1/smaps_rollup"; }
rss() { awk '/^Rss:/ {printf "%.1f", $2 / 1024}' "/proc/$1/smaps_rollup"; }
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }  # utime + stime
# context switches of every live thread of the process (per-process status counts only the first)
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {n += $2} END {print n + 0}'; }
hz=$(getconf CLK_TCK)
tray_shown() { xdotool search --onlyvisible --name 'Wine System Tray' >/dev/null 2>&1; }
# launch EXE: copies it to a folder of its own, starts it, prints seconds to its tray icon
launch() {
  local dir=$work/$(basename "$1" .exe) t0
  mkdir -p "$dir" && cp "$1" "$dir/"
  for _ in $(seq 1 80); do tray_shown || break; sleep 0.25; done
  t0=$(now)
  (cd "$dir" && exec wine "$(basename "$1")") >/dev/null 2>&1 &
  for _ in $(seq 1 2000); do tray_shown && { since "$t0"; return 0; }; sleep 0.01; done
  echo "no tray icon from $1" >&2; return 1
}
# fullscreen: the id of a visible window as big as the screen, other than the ones in $standing
# (Wine keeps a screen-sized window of its own mapped all the time)
standing=
fullscreen() {
  local c
  for c in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    case " $standing " in *" $c "*) continue ;; esac
    xdotool getwindowgeometry "$c" 2>/dev/null | grep -q 'Geometry: 1024x768' && { echo "$c"; return 0; }
  done
  return 1
}
# dismiss TITLE SECONDS: waits for the prompt, then closes it with Esc as a person would
dismiss() {
  local w
  w=$(wait_window "$1" "$2") || return 1
  sleep 1; xdotool windowfocus "$w"; sleep 0.3; xdotool key Escape
}
median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
icmp_replies() { awk '/^Icmp:/ {if (!h) {for (i = 1; i <= NF; i++) if ($i == "InEchoReps") c = i; h = 1} else print $c}' /proc/net/snmp; }

# --- the bare tray program ----------------------------------------------------------------
bare_row=
if [ -f "$bare" ]; then
  bare_start=$(launch "$(abs "$bare")")
  sleep 5
  bpid=$(winpid bare_tray.exe "$work/bare_tray")
  b_uss=$(uss "$bpid") b_rss=$(rss "$bpid")
  bt0=$(ticks "$bpid") bs0=$(switches "$bpid")
  sleep 60
  bare_row="| Bare tray program (bare_tray.exe, $(stat -c %s "$bare") bytes) | USS $b_uss MiB, RSS $b_rss MiB, start-up to tray $bare_start s, over one idle minute $(awk -v t=$(( $(ticks "$bpid") - bt0 )) -v h="$hz" 'BEGIN{printf "%.2f", t / h}') CPU-s and $(( $(switches "$bpid") - bs0 )) context switches |"
  kill -9 "$bpid"
  for _ in $(seq 1 80); do tray_shown || break; sleep 0.25; done
fi

# --- Lumivar.exe, every monitor off ---------------------------------------------------------
# One reminder at the first minute at least 20 s ahead: its prompt and sound cost what the
# page prompt below costs, so the two days differ by the monitors alone.
due=$(( ($(date +%s) + 20 + 59) / 60 * 60 ))
mkdir -p "$work/Lumivar"
{
  printf '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\nSTARTUP=0\r\n'
  printf '[NOTES AND TASKS]\r\nREMIND=1\r\nTIMEOUT=0\r\nTOTALITEM=1\r\n'
  printf 'Date0=%s\r\nTIME0=%s\r\nNOTE0=提醒\r\n' "$(date -d "@$due" '+%Y年%m月%d日')" "$(date -d "@$due" '+%-H:%-M')"
} | iconv -f UTF-8 -t GBK > "$work/Lumivar/Lumivar.ini"
: "$(launch "$exe")"  # in a subshell, so that killing it later is no job of ours
sleep 8
ppid=$(winpid Lumivar.exe "$work/Lumivar")
plain_row="| USS / RSS 8 s after start, every monitor off | $(uss "$ppid") MiB / $(rss "$ppid") MiB (TLS libraries $(tls_mapped "$ppid")) |"
if dismiss '时间到了' 100; then
  sleep 3
  r0=$(uss "$ppid"); sleep 120
  remind_row="| USS after a reminder's prompt, every monitor off: 3 s / two idle minutes after | $r0 / $(uss "$ppid") MiB ($(dirty "$ppid") MiB dirty) |"
else
  remind_row="| USS after a reminder's prompt, every monitor off | no prompt came |"
fi
kill -9 "$ppid"
for _ in $(seq 1 80); do tray_shown || break; sleep 0.25; done
rm -rf "$work/Lumivar"

# --- Lumivar.exe, every monitor on --------------------------------------------------------
if [ "$tls" = 1 ]; then
  make_certificates "$work/certs" >/dev/null
  trusted=$(authority_key "$work/certs")
  trust_authority "$work/certs"
  echo page > "$work/peer-page"
  POP3_MESSAGES=0 start_tls_peer "$work/certs" 995; peers="$peers $peer"  # no new mail: no prompt
  address="http://localhost:$(peer_port redirect)/go" server=localhost:995 account='USER=me\r\nPASS=sz'
  mail_checks() { grep -c 'pop3s tls USER' "$work/peer.log" || true; }
  page_checks() { grep -c ' https GET /page ' "$work/peer.log" || true; }
else
  echo "count 0" > "$work/mailbox"
  python3 "$root/tests/e2e/pop3_peer.py" 110 "$work/mailbox" "$work/pop3.log" & peers="$peers $!"
  python3 "$root/tests/e2e/web_peer.py" "$work/port" "$work/web.log" "$work/mode" & peers="$peers $!"
  echo page > "$work/mode"
  for _ in $(seq 1 40); do [ -s "$work/port" ] && grep -q listening "$work/pop3.log" 2>/dev/null && break; sleep 0.1; done
  address="http://127.0.0.1:$(cat "$work/port")/page" server=127.0.0.1 account='USER=alice'
  mail_checks() { grep -c connected "$work/pop3.log" || true; }
  page_checks() { grep -c '/page HTTP' "$work/web.log" || true; }
fi
app=$work/Lumivar
mkdir -p "$app"
# Twenty reminders far ahead (for the save), every monitor at 1 minute, a long working period;
# no update check (it would need the outside world), no Run value in the prefix.
{
  printf '[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\nSTARTUP=0\r\n[SCREEN]\r\nWORKTIME=60\r\n'
  printf '[NOTES AND TASKS]\r\nREMIND=1\r\nTIMEOUT=0\r\nTOTALITEM=20\r\n'
  for i in $(seq 0 19); do printf 'Date%d=2030年01月%02d日\r\nTIME%d=8:%d\r\nNOTE%d=提醒第%d条\r\n' "$i" $((i + 1)) "$i" "$i" "$i" "$i"; done
  printf '[HOMEPAGE]\r\nWATCH=1\r\nINTERVAL=1\r\nADDRESS=%s\r\n' "$address"
  printf "[MAIL]\r\nCHECK=1\r\nINTERVAL=1\r\nSERVER=%s\r\n$account\r\n" "$server"
  printf '[HOSTSTATUS]\r\nMONITOR=1\r\nINTERVAL=1\r\nHOSTNAME=127.0.0.1\r\n'
} | iconv -f UTF-8 -t GBK > "$app/Lumivar.ini"
start_s=$(launch "$exe")
tray=$(xdotool search --onlyvisible --name 'Wine System Tray' | tail -1)
pid=$(winpid Lumivar.exe "$app")

# The page is new to the program at its first check, which prompts once: seen and dismissed
# before the idle minutes, as a person would.
tray_menu Up Up Up Up Up Up Right Up Up Return  # 执行命令 > 检测主页内容
dismiss '网页内容' 20 || true
sleep 3
xdotool mousemove 1000 10

# Two idle minutes of the working period: the monitors' timers fire in them.
u0=$(uss "$pid") t0=$(ticks "$pid") s0=$(switches "$pid") busy=0
prev_t=$t0 prev_s=$s0
for _ in $(seq 1 120); do
  sleep 1
  t=$(ticks "$pid") s=$(switches "$pid")
  if [ "$t" != "$prev_t" ] || [ "$s" != "$prev_s" ]; then busy=$((busy + 1)); fi
  prev_t=$t prev_s=$s
done
idle_cpu=$(awk -v t=$((prev_t - t0)) -v h="$hz" 'BEGIN{printf "%.2f", t / h}')
idle_sw=$((prev_s - s0))
idle_uss=$(uss "$pid") idle_rss=$(rss "$pid") idle_dirty=$(dirty "$pid") idle_tls=$(tls_mapped "$pid")

# 30 rests: Ctrl+Shift+A, then 'w'.
: > "$work/rest_times"
uss_before_rests=$(uss "$pid")
standing=$(while c=$(fullscreen); do standing="$standing $c"; echo "$c"; done | tr '\n' ' ')
for i in $(seq 1 30); do
  xdotool windowfocus "$tray"; t=$(now); xdotool key ctrl+shift+a
  full=
  for _ in $(seq 1 500); do full=$(fullscreen) && break; sleep 0.01; done
  [ -n "$full" ] || { echo "rest $i: no full-screen window" >&2; exit 1; }
  echo "$(since "$t")" >> "$work/rest_times"
  sleep 2.5; focus_rest_screen; xdotool key w  # after the 1.5 s opening animation, which drops keys
  for _ in $(seq 1 100); do fullscreen >/dev/null || break; sleep 0.05; done
  ! fullscreen >/dev/null || { echo "rest $i: 'w' did not end it" >&2; exit 1; }
  sleep 0.5
done
uss_after_rests=$(uss "$pid")
rest_first=$(head -1 "$work/rest_times") rest_median=$(median < "$work/rest_times")

# Monitor checks: the timers' and the menu's, each counted where it arrived (the network is
# this script's own, so every echo reply in it answered the program).
count_checks() { echo $(( $(mail_checks) + $(page_checks) + $(icmp_replies) )); }
timer_checks=$(count_checks)
uss_before_checks=$(uss "$pid")
t_end=$(( $(date +%s) + check_seconds )) k=0
while [ "$(count_checks)" -lt "$checks_wanted" ] && [ "$(date +%s)" -lt "$t_end" ]; do
  case $((k % 3)) in
    0) tray_menu Up Up Up Up Up Up Right Up Up Up Return ;;  # 检查Email
    1) tray_menu Up Up Up Up Up Up Right Up Up Return ;;     # 检测主页内容
    2) tray_menu Up Up Up Up Up Up Right Up Return ;;        # 检测网络状态
  esac
  k=$((k + 1)); sleep 0.7
done
sleep 3
mails=$(mail_checks) pages=$(page_checks) pings=$(icmp_replies)
checks=$((mails + pages + pings))
uss_after_checks=$(uss "$pid") rss_end=$(rss "$pid") dirty_end=$(dirty "$pid")
prompts=$( (xdotool search --onlyvisible --name '网页内容|邮件监测器|网络连接状态' 2>/dev/null || true) | wc -l)

# One SaveSettings: the end of the session makes the program save; timed from its opening
# of the INI to the new file's rename into place, as the file system reports them.
python3 "$root/bench/file_events.py" "$app" Lumivar.ini 30 > "$work/events" & ev=$!
for _ in $(seq 1 40); do grep -q ready "$work/events" && break; sleep 0.1; done
t_session=$(now)
wineboot -e >/dev/null 2>&1 || true
wait "$ev" || true
save=$(awk '$2 == "open" && !o {o = $1} $2 == "moved" {m = $1} END {if (o && m) printf "%.3f", m - o; else print "n/a"}' "$work/events")
save_total=$(awk -v t="$t_session" '$2 == "moved" {printf "%.2f", $1 - t}' "$work/events")
tasks_saved=$(grep -c '^NOTE[0-9]*=' "$app/Lumivar.ini" || true)

if [ -x "$repaint" ]; then repaint_line=$("$repaint"); else repaint_line="not built ($repaint)"; fi

cat <<EOF
$(date '+%F %T'), $(wine --version 2>/dev/null), $(nproc) CPUs, $LANG, $(basename "$exe") of $(date -r "$exe" '+%F %T'), monitors $([ "$tls" = 1 ] && echo "over TLS" || echo "over plain HTTP and POP3")

| Measure | Lumivar.exe |
| --- | --- |
${plain_row}
${remind_row}
| USS (smaps_rollup Private_*) after start and the first page prompt | $u0 MiB |
| USS / RSS at the end of two idle minutes | $idle_uss MiB ($idle_dirty MiB of it dirty) / $idle_rss MiB (TLS libraries $idle_tls) |
| CPU over the two idle minutes (utime+stime) | $idle_cpu s |
| Context switches over them (voluntary+involuntary, live threads) | $idle_sw; the process ran in $busy of the 120 seconds |
| Start-up to the tray icon | $start_s s |
| Ctrl+Shift+A to the full-screen window | first $rest_first s, median of 30 $rest_median s |
| USS before / after 30 rests | $uss_before_rests / $uss_after_rests MiB |
| USS before / after $checks monitor checks (mail $mails, web $pages, host $pings; $((checks - timer_checks)) of them after the rests, from the menu) | $uss_before_checks / $uss_after_checks MiB ($dirty_end MiB dirty, RSS $rss_end MiB; $prompts prompts open) |
| .exe size | $(stat -c %s "$exe") bytes |
| One SaveSettings, $tasks_saved tasks (INI opened to renamed, end of session) | $save s (wineboot -e to saved: $save_total s) |
| Repaint during a rest (bench_repaint, fake shell) | $repaint_line |
${bare_row}
EOF
