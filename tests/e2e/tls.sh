#!/usr/bin/env bash
# The program's network clients under Wine against TLS peers on 127.0.0.1, with a test
# authority made now and trusted by the prefix for the run: pages over https, directly, after a
# redirect from http and through a proxy that tunnels; certificates for another name and from
# an authority nobody trusts refused, each with its own code; https never followed down to
# http; a silent server given up on in time; [::1]; POP3 on implicit TLS, with STLS and plain,
# and the password never sent in the clear to a server that offers STLS.
# Usage: tls.sh OUTDIR net_probe.exe
set -euo pipefail
. "$(dirname "$0")/lib.sh"
out=$1
probe_exe=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
rm -rf "$out" && mkdir -p "$out"
make_certificates "$out/certs"
settings='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
peer=
trap 'kill $peer 2>/dev/null; restore_registry; true' EXIT
keep_registry "$settings|ProxyEnable" "$settings|ProxyServer" "$settings|ProxyOverride" -- "$(authority_key "$out/certs")"
reg_put "$settings" ProxyEnable 'REG_DWORD 0'
reg_put "$settings" ProxyOverride ''  # "<local>" would send localhost past the proxy
trust_authority "$out/certs"
start_tls_peer "$out/certs" 995  # the port that means TLS from the first byte (root may bind it)
echo '护眼 page' > "$out/peer-page"

probe() { (cd "$out" && wine "$probe_exe" "$@") 2>/dev/null | tr -d '\r'; }
# expect WHAT... -- OUTPUT
check() {
  local args=() got
  while [ "$1" != -- ]; do args+=("$1"); shift; done
  got=$(probe "${args[@]}")
  [ "$got" = "$2" ] || fail "${args[*]}: '$got', not '$2'"
}
https=$(peer_port https) redirect=$(peer_port redirect)
check get "https://localhost:$https/page" -- '0 护眼 page'
check get "http://localhost:$redirect/go" -- '0 护眼 page'
check get "http://[::1]:$(peer_port http6)/page" -- '0 plain page'
ok "a page over https, after a redirect from http, and plain over [::1]"
check get "https://localhost:$(peer_port wrongname)/page" -- '10 '
check get "https://localhost:$(peer_port untrusted)/page" -- '9 '
check get "https://localhost:$https/down" -- '14 '
grep -q 'redirect GET /page' "$out/peer.log" && fail "https was followed down to http"
ok "a certificate for another name and one nobody vouches for are refused, and https is not followed to http"
start=$(date +%s)
check get "https://localhost:$(peer_port silent)/page" -- '3 '
waited=$(($(date +%s) - start))
[ "$waited" -le 35 ] || fail "the silent server held the check for $waited s"
ok "a silent TLS server is given up on after $waited s"

reg_put "$settings" ProxyServer "REG_SZ https=127.0.0.1:$(peer_port proxy)"
reg_put "$settings" ProxyEnable 'REG_DWORD 1'
check get "https://localhost:$https/page" -- '0 护眼 page'
grep -q "proxy CONNECT localhost:$https HTTP/1.1" "$out/peer.log" || fail "no tunnel through the proxy"
reg_put "$settings" ProxyEnable 'REG_DWORD 0'
ok "https through the proxy's tunnel"

check pop3 localhost:995 me pw -- 2
check pop3 "localhost:$(peer_port pop3stls)" me pw -- 2
check pop3 "127.0.0.1:$(peer_port pop3plain)" me pw -- 2
grep -q 'pop3stls tls PASS pw' "$out/peer.log" || fail "the STLS server never heard the password in TLS"
! grep -q 'pop3stls plain \(USER\|PASS\)' "$out/peer.log" || fail "the account went in the clear to a server offering STLS"
check pop3 "localhost:$(peer_port pop3bad)" me pw -- 'error 服务器的证书不属于所连接的主机'
! grep -q 'pop3bad .*USER' "$out/peer.log" || fail "the account went to a server with another's certificate"
ok "POP3 in TLS from the start, after STLS and plain; a wrong certificate stops it before the login"
echo "e2e: $passed passed, 0 failed"
