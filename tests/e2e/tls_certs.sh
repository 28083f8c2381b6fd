#!/usr/bin/env bash
# Certificates for the TLS peers, made afresh for each run (no key is ever kept in the tree):
# a test authority; localhost (also 127.0.0.1 and ::1) and other.test from it; localhost again
# from a second authority nobody trusts. Writes ca.der and ca.sha1 for trusting the first.
# Usage: tls_certs.sh DIR
set -euo pipefail
dir=$1
mkdir -p "$dir" && cd "$dir"
quiet() { "$@" >/dev/null 2>&1 || { echo "openssl failed: $*" >&2; exit 1; }; }
authority() {
  quiet openssl req -x509 -newkey rsa:2048 -nodes -days 2 -keyout "$1.key" -out "$1.pem" -subj "/CN=$2" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
}
# leaf NAME AUTHORITY SAN
leaf() {
  quiet openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=${3%%,*}"
  printf 'subjectAltName=%s\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n' "$3" > "$1.ext"
  quiet openssl x509 -req -in "$1.csr" -CA "$2.pem" -CAkey "$2.key" -CAcreateserial -days 2 -out "$1.pem" -extfile "$1.ext"
}
authority ca 'Lumivar Test Authority'
authority stranger-ca 'Nobody Trusts This'
leaf localhost ca 'DNS:localhost,IP:127.0.0.1,IP:::1'
leaf other ca 'DNS:other.test'
leaf stranger stranger-ca 'DNS:localhost,IP:127.0.0.1'
openssl x509 -in ca.pem -outform der -out ca.der
openssl x509 -in ca.pem -noout -fingerprint -sha1 | sed 's/.*=//; s/://g' | tr a-f A-F > ca.sha1
