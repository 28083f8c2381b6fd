#!/usr/bin/env python3
"""TLS peers on 127.0.0.1 for the network stories, with certificates made by tls_certs.sh.

Each listener takes a free port; their names and ports go to PORTFILE as "name port" lines:
  https      the page (its text is the MODEFILE's first line), certificate for localhost
  wrongname  the same page, certificate for other.test
  untrusted  the same page, certificate from an authority nobody trusts
  silent     completes the handshake, reads the request, then says nothing until the client
             goes, which it logs
  redirect   plain HTTP: /go answers 301 to https://localhost:<https>/page, other paths a plain page
  http6      that plain page on [::1]
  proxy      an HTTP proxy that tunnels CONNECT to 127.0.0.1 only, and logs what it was sent
  pop3s      POP3 in TLS from the first byte (POP3_MESSAGES, 2 unless set, for the user "me",
             password "pw")
  pop3stls   plain POP3 that offers STLS and then is the same mailbox
  pop3plain  plain POP3 without STLS
  pop3bad    POP3 that offers STLS with the certificate for other.test
The https page's /down answers 301 to plain http://.
Every request and command is logged to LOGFILE.
Usage: tls_peer.py CERTDIR PORTFILE LOGFILE MODEFILE [POP3S-PORT]
"""
import os
import socket
import socketserver
import ssl
import sys
import threading

import peerlib

cert_dir, port_file, log_file, mode_file = sys.argv[1:5]
pop3s_port = int(sys.argv[5]) if len(sys.argv) > 5 else 0
messages = int(os.environ.get('POP3_MESSAGES', '2'))
log = peerlib.logger(log_file)


def page():
    return peerlib.first_line(mode_file, 'page')


def context(name):
    c = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    c.load_cert_chain(f'{cert_dir}/{name}.pem', f'{cert_dir}/{name}.key')
    return c


def read_head(f):
    lines = []
    while True:
        line = f.readline(65536)
        if not line or line in (b'\r\n', b'\n'):
            return lines
        lines.append(line.decode('latin-1').rstrip('\r\n'))


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


class Server6(Server):
    address_family = socket.AF_INET6


def serve(name, handler, port=0, tls=None, host='127.0.0.1'):
    server = (Server6 if ':' in host else Server)((host, port), handler)
    server.tls = tls
    server.name = name
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return name, server.server_address[1]


def wrap(handler):
    """The handler's connection in TLS from here on; a failed handshake is logged and ends it."""
    try:
        handler.request = handler.server.tls.wrap_socket(handler.request, server_side=True)
        return True
    except (ssl.SSLError, OSError) as e:
        log(f'{handler.server.name} handshake failed: {e}')
        handler.request = None
        return False


class Secured(socketserver.StreamRequestHandler):
    """A handler whose connection may have ended in a failed handshake (its request None)."""
    def finish(self):
        if self.request is not None:
            super().finish()


class Https(Secured):
    def setup(self):
        self.request.settimeout(20)
        if wrap(self):
            super().setup()

    def handle(self):
        if self.request is None:
            return
        if self.server.name == 'silent':
            self.request.settimeout(60)
            log('silent ' + ' | '.join(read_head(self.rfile)))
            try:
                while self.request.recv(1024):
                    pass
            except (ssl.SSLError, OSError):
                pass
            log('silent client gave up')
            return
        head = read_head(self.rfile)
        log(f'{self.server.name} ' + ' | '.join(head))
        try:
            if head and head[0].startswith('GET /down '):
                self.wfile.write(f'HTTP/1.1 301 Moved\r\nLocation: http://localhost:{ports["redirect"]}/page\r\n'
                                 'Content-Length: 0\r\n\r\n'.encode())
            else:
                body = page().encode('utf-8')
                self.wfile.write(b'HTTP/1.1 200 OK\r\nContent-Length: %d\r\nConnection: close\r\n\r\n' % len(body) + body)
            self.wfile.flush()
        except (ssl.SSLError, OSError):
            return  # the client gave up on a certificate it does not trust
        try:
            self.request.unwrap()  # a close_notify, as servers send it
        except (ssl.SSLError, OSError):
            pass


class Redirect(socketserver.StreamRequestHandler):
    def handle(self):
        head = read_head(self.rfile)
        log(f'{self.server.name} ' + ' | '.join(head))
        path = head[0].split(' ')[1] if head else '/'
        target = {'/go': f'https://localhost:{ports["https"]}/page'}.get(path)
        if target:
            self.wfile.write(f'HTTP/1.1 301 Moved\r\nLocation: {target}\r\nContent-Length: 0\r\n\r\n'.encode())
        else:
            body = b'plain page'
            self.wfile.write(b'HTTP/1.1 200 OK\r\nContent-Length: %d\r\n\r\n' % len(body) + body)


class Proxy(socketserver.StreamRequestHandler):
    def handle(self):
        head = read_head(self.rfile)
        log('proxy ' + ' | '.join(head))
        if not head or not head[0].startswith('CONNECT '):
            self.wfile.write(b'HTTP/1.1 405 Only tunnels\r\n\r\n')
            return
        port = int(head[0].split(' ')[1].rsplit(':', 1)[1])
        upstream = socket.create_connection(('127.0.0.1', port), timeout=20)  # loopback only
        self.wfile.write(b'HTTP/1.1 200 Connection established\r\n\r\n')
        self.wfile.flush()

        def pump(a, b):
            try:
                while data := a.recv(16384):
                    b.sendall(data)
            except OSError:
                pass
            for s in (a, b):
                try:
                    s.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass
        t = threading.Thread(target=pump, args=(upstream, self.request), daemon=True)
        t.start()
        pump(self.request, upstream)
        t.join(20)


class Pop3(Secured):
    def setup(self):
        self.request.settimeout(20)
        self.secure = self.server.name == 'pop3s'
        if not self.secure or wrap(self):
            super().setup()

    def handle(self):
        if self.request is None:
            return
        name = self.server.name
        self.send('+OK ready')
        while True:
            line = self.rfile.readline(1024)
            if not line:
                return
            command = line.decode('latin-1').strip()
            log(f'{name} {"tls" if self.secure else "plain"} {command}')
            verb = command.split(' ')[0].upper()
            offers = name in ('pop3stls', 'pop3bad') and not self.secure
            if verb == 'CAPA':
                self.send('+OK\r\nUSER' + ('\r\nSTLS' if offers else '') + '\r\n.')
            elif verb == 'STLS' and offers:
                self.send('+OK begin TLS')
                if not wrap(self):
                    return
                self.secure = True
                self.rfile = self.request.makefile('rb')
                self.wfile = self.request.makefile('wb')
            elif verb == 'USER':
                self.send('+OK')
            elif verb == 'PASS':
                self.send('+OK' if command == 'PASS pw' else '-ERR no')
            elif verb == 'STAT':
                self.send(f'+OK {messages} {160 * messages}')
            elif verb == 'QUIT':
                self.send('+OK bye')
                return
            else:
                self.send('-ERR unknown')

    def send(self, text):
        self.wfile.write(text.encode('latin-1') + b'\r\n')
        self.wfile.flush()


ports = {}
good = context('localhost')
for entry in [serve('https', Https, tls=good), serve('wrongname', Https, tls=context('other')),
              serve('untrusted', Https, tls=context('stranger')), serve('silent', Https, tls=good),
              serve('redirect', Redirect), serve('proxy', Proxy),
              serve('pop3s', Pop3, pop3s_port, tls=good), serve('pop3stls', Pop3, tls=good),
              serve('pop3plain', Pop3), serve('pop3bad', Pop3, tls=context('other')),
              serve('http6', Redirect, host='::1')]:
    ports[entry[0]] = entry[1]
with open(port_file + '.tmp', 'w') as f:
    for name, port in ports.items():
        f.write(f'{name} {port}\n')
os.replace(port_file + '.tmp', port_file)
threading.Event().wait()
