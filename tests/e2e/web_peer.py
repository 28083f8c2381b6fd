#!/usr/bin/env python3
"""Web server and HTTP proxy on 127.0.0.1 for the web page story.

Serves the watched page and, as the proxy the Internet Settings name, answers for the update
sites' host names itself: no name is looked up, nothing leaves the machine. Every request is
logged with its header lines; the mode file steers the answers.
Usage: web_peer.py PORTFILE LOGFILE MODEFILE
"""
import socketserver
import sys
import time

import peerlib

port_file, log_file, mode_file = sys.argv[1:4]
VERSION = 'V1.25 2004贺岁版 Build12.18'.encode('gbk')
NEWER = 'V1.26 2005新春版 Build01.20'.encode('gbk')
log = peerlib.logger(log_file)


def mode():
    return peerlib.first_line(mode_file)


def reply(status, body):
    reason = {200: 'OK', 404: 'Not Found'}.get(status, 'X')
    return b'HTTP/1.0 %d %s\r\nContent-Length: %d\r\n\r\n' % (status, reason.encode(), len(body)) + body


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        data = b''
        while b'\r\n\r\n' not in data:
            chunk = self.request.recv(4096)
            if not chunk:
                return
            data += chunk
        lines = data.split(b'\r\n\r\n')[0].decode('latin-1').split('\r\n')
        log('REQUEST ' + ' | '.join(lines))
        target = lines[0].split(' ')[1]
        m = mode()
        if target.startswith('http://www.lumivar.com.cn/'):
            if m == 'current':
                out = reply(200, VERSION)
            elif m == 'none':
                out = reply(200, b'<html><body>Server error. Build your site elsewhere.</body></html>')
            else:
                out = reply(404, b'')
        elif target.startswith('http://lumivar.github.io/'):
            out = reply(200, NEWER) if m == 'newer' else reply(404, b'')
        elif target.endswith('/page'):
            if m == 'silent':
                start = time.time()
                self.request.settimeout(120)
                try:
                    self.request.recv(1)  # until the client gives up
                except OSError:
                    pass
                log('SILENT closed by the client after %.1f s' % (time.time() - start))
                return
            out = reply(200, b'<html>the watched page</html>')
        else:
            out = reply(404, b'')
        self.request.sendall(out)


socketserver.ThreadingTCPServer.allow_reuse_address = True
server = socketserver.ThreadingTCPServer(('127.0.0.1', 0), Handler)
server.daemon_threads = True
with open(port_file, 'w') as f:
    f.write(str(server.server_address[1]))
server.serve_forever()
