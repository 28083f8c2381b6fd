# Shared steps of the end-to-end tests: a display, the program in its own folder,
# screenshots and the pixels a person would look at.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-prefix}" WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
background='srgb(11,65,104)'
passed=0
kept_values=() kept_keys=()

fail() { echo "FAIL: $*"; echo "e2e: $passed passed, 1 failed"; exit 1; }
ok() { passed=$((passed + 1)); echo "ok: $*"; }
shot() { import -window root "$out/$1.png"; }
pixel() { convert "$out/$1.png" -format "%[pixel:p{$2,$3}]" info:; }
brightest() { convert "$out/$1.png" -crop "$2" -colorspace gray -format '%[fx:maxima.r]' info:; }
# countdown_moved A B: the rest's countdown at the top left differs between screenshots A and B
countdown_moved() {
  [ "$(convert "$out/$1.png" -crop 90x16+0+0 +repage -format '%#' info:)" != \
    "$(convert "$out/$2.png" -crop 90x16+0+0 +repage -format '%#' info:)" ]
}

# prepare EXE OUTDIR [INI-TEXT]: a fresh folder with the program and its INI file, if given
prepare() {
  exe=$1 out=$2
  rm -rf "$out" && mkdir -p "$out/app"
  cp "$exe" "$out/app/Lumivar.exe"
  [ $# -lt 3 ] || printf '%b' "$3" > "$out/app/Lumivar.ini"
  xvfb=
  if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:$((90 + RANDOM % 100))
    Xvfb "$DISPLAY" -screen 0 1024x768x24 >/dev/null 2>&1 & xvfb=$!
    sleep 1
  fi
  trap 'wineserver -k 2>/dev/null || true; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; true' EXIT
}

# start: runs the program and waits for its tray icon
start() {
  (cd "$out/app" && exec wine Lumivar.exe) &
  program=$!
  tray=
  for _ in $(seq 1 120); do
    tray=$(xdotool search --onlyvisible --name 'Wine System Tray' 2>/dev/null | tail -1) && [ -n "$tray" ] && break
    sleep 0.25
  done
  [ -n "$tray" ] || fail "no tray icon appeared"
  sleep 1
}

# wait_window TITLE SECONDS: the id of a visible window with that title; fails when none comes
wait_window() {
  local w i
  for ((i = 0; i < $2 * 4; i++)); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) && [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.25
  done
  return 1
}

# wait_screen rest|clear SECONDS NAME [X Y]: polls until the screen shows (or stops showing) a
# rest's background at that point, by default low in the middle
wait_screen() {
  local i p
  for ((i = 0; i < $2 * 4; i++)); do
    shot "$3"
    p=$(pixel "$3" "${4:-512}" "${5:-700}")
    if [ "$1" = rest ] && [ "$p" = "$background" ]; then return 0; fi
    if [ "$1" = clear ] && [ "$p" != "$background" ]; then return 0; fi
    sleep 0.25
  done
  return 1
}

# box NAME: "LEFT TOP RIGHT BOTTOM" of the light rectangle that rises from the bottom centre
box() {
  local f="$out/$1.png" top bottom row
  read -r top bottom < <(convert "$f" -crop 1x200+512+568 +repage -depth 8 txt:- |
    awk -v bg='#0B4168' 'NR > 1 { split($1, p, /[,:]/); y = p[2] + 568
      if ($3 != bg) { if (!run) t = y; run = 1; b = y } else run = 0 }
      END { if (b) print t, b; else print -1, -1 }')
  [ "$bottom" -ge 0 ] || return 0
  row=$(((top + bottom) / 2))
  convert "$f" -crop "1024x1+0+$row" +repage -depth 8 txt:- |
    awk -v bg='#0B4168' -v t="$top" -v b="$bottom" 'NR > 1 { split($1, p, /[,:]/); x = p[1]
      if (x <= 512) { if ($3 != bg) { if (!run) l = x; run = 1 } else run = 0 }
      else if (!done) { if ($3 != bg) r = x; else done = 1 } }
      END { print l, t, r, b }'
}
# focus_rest_screen: without a window manager Wine cannot move the X focus itself;
# on Windows the rest screen takes the foreground. Give it the focus as the desktop would.
focus_rest_screen() {
  local w
  w=$(for c in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    if [ "$c" != "$tray" ] && xdotool getwindowgeometry "$c" | grep -q 'Geometry: 1024x768'; then echo "$c"; fi
  done | sort -n | tail -1)
  [ -n "$w" ] || fail "no full-screen window"
  xdotool windowfocus "$w"
}

# tray_click BUTTON: a click on the first tray icon (the tray window is new after the icons are reset)
tray_click() {
  tray=$(xdotool search --onlyvisible --name 'Wine System Tray' 2>/dev/null | tail -1)
  xdotool mousemove --window "$tray" 8 10 click "$1"
}

# find_menu: the open pop-up menu, told from the icon's tip by its height (at 96 to 144 DPI)
find_menu() {
  local c
  for c in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    if xdotool getwindowgeometry "$c" | grep -q 'Geometry: [1-3][0-9][0-9]x[2-6][0-9][0-9]$'; then echo "$c"; fi
  done | sort -n | tail -1
}

# tray_menu KEY...: right-clicks the icon (again, as a person would, if no menu comes) and
# walks the menu with the keyboard: item heights follow the fonts Wine finds, so item
# positions are not to be relied on.
tray_menu() {
  local m= attempt
  for attempt in 1 2 3; do
    tray_click 3
    for _ in $(seq 1 16); do
      m=$(find_menu)
      [ -n "$m" ] && break 2
      sleep 0.25
    done
  done
  [ -n "$m" ] || { shot no-menu; fail "no pop-up menu"; }
  xdotool windowfocus "$m"
  sleep 0.2
  xdotool key "$@"
}

# reg_get KEY NAME: "TYPE DATA", or nothing when the value is absent
reg_get() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -F'    ' -v n="$2" '$2 == n {print $3 " " $4}' || true; }
# reg_put KEY NAME "TYPE DATA": sets the value; empty data removes it
reg_put() {
  if [ -z "$3" ]; then wine reg delete "$1" /v "$2" /f >/dev/null 2>&1 || true
  else wine reg add "$1" /v "$2" /t "${3%% *}" /d "${3#* }" /f >/dev/null; fi
}
has_key() { wine reg query "$1" >/dev/null 2>&1; }

# keep_registry 'KEY|NAME'... [-- KEY...]: notes those values and whether those keys exist, so
# that restore_registry leaves the prefix as it was found (the values back, new keys gone)
keep_registry() {
  local v k
  kept_values=() kept_keys=()
  declare -gA kept_before=() kept_existed=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do kept_values+=("$1"); shift; done
  [ $# -eq 0 ] || shift
  kept_keys=("$@")
  for v in "${kept_values[@]}"; do kept_before[$v]=$(reg_get "${v%|*}" "${v#*|}"); done
  for k in "${kept_keys[@]}"; do if has_key "$k"; then kept_existed[$k]=1; else kept_existed[$k]=; fi; done
}
restore_registry() {
  local v k
  for v in "${kept_values[@]}"; do reg_put "${v%|*}" "${v#*|}" "${kept_before[$v]}"; done
  for k in "${kept_keys[@]}"; do [ -n "${kept_existed[$k]}" ] || wine reg delete "$k" /f >/dev/null 2>&1 || true; done
  # The server holds changes for a while before it writes them; a story's end may not wait.
  wineserver -k 2>/dev/null || true
  wineserver -w
}
# What the lock changes in the registry, and the start-up values a story must not start a copy
# with: the per-user one the program writes, and the machine-wide one older versions wrote,
# which the program removes.
policies='HKCU\Software\Microsoft\Windows\CurrentVersion\Policies'
policy="$policies\System"
record='HKCU\Software\Lumivar'
run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
machine_run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'

# lock_values_as_found ['KEY|NAME'...]: notes the Run values, the task manager policy, its record
# and any values named for restore_registry, then clears the first three, so the lock stories
# start from a machine without them.
# Call it once the story's trap that calls restore_registry is set.
lock_values_as_found() {
  keep_registry "$run|Lumivar2003" "$machine_run|Lumivar2003" "$policy|DisableTaskMgr" "$record|PolicyBeforeLock" "$@" -- "$policy" "$policies" "$record"
  without_run_value "$run" "$machine_run"
  reg_put "$policy" DisableTaskMgr ''
  reg_put "$record" PolicyBeforeLock ''
}

# without_run_value RUNKEY...: a session begun with the program's Run value has already started
# that copy; begin a new one without it (the values themselves are kept for restore_registry)
without_run_value() {
  local k found=
  for k in "$@"; do
    [ -n "${kept_before[$k|Lumivar2003]}" ] || continue
    reg_put "$k" Lumivar2003 ''
    found=1
  done
  [ -n "$found" ] || return 0
  wineserver -k 2>/dev/null || true
  wineserver -w
}

# TLS: certificates made now, and the test authority trusted by the prefix as Windows keeps
# it (the current user's ROOT store: a Blob of three DWORDs, 0x20, 1 and the length, then the
# DER). Call keep_registry with "$(authority_key DIR)" among its keys first, so that
# restore_registry takes the authority away again.
make_certificates() { "$root/tests/e2e/tls_certs.sh" "$1"; }
authority_key() { echo 'HKCU\Software\Microsoft\SystemCertificates\Root\Certificates\'"$(cat "$1/ca.sha1")"; }
trust_authority() {
  local blob
  blob=$(python3 -c 'import struct, sys; d = open(sys.argv[1], "rb").read(); print((struct.pack("<III", 0x20, 1, len(d)) + d).hex())' "$1/ca.der")
  wine reg add "$(authority_key "$1")" /v Blob /t REG_BINARY /d "$blob" /f >/dev/null
}
# start_tls_peer DIR [POP3S-PORT]: the peers of tls_peer.py; peer_port NAME then gives their ports
start_tls_peer() {
  python3 "$root/tests/e2e/tls_peer.py" "$1" "$out/peer-ports" "$out/peer.log" "$out/peer-page" ${2:+"$2"} &
  peer=$!
  for _ in $(seq 1 40); do [ -s "$out/peer-ports" ] && return 0; sleep 0.25; done
  fail "the TLS peers did not start"
}
peer_port() { awk -v n="$1" '$1 == n {print $2}' "$out/peer-ports"; }
