#!/usr/bin/env python3
"""A POP3 mailbox on 127.0.0.1 that is always empty; each connection is logged, so the
benchmark can count the mail checks that reached it.
Usage: pop3_peer.py PORT LOGFILE
"""
import socket
import sys
import threading
import time

port, log_file = int(sys.argv[1]), sys.argv[2]
lock = threading.Lock()


def note(text):
    with lock, open(log_file, 'a') as f:
        f.write('%.3f %s\n' % (time.time(), text))


def serve(c):
    note('connected')
    c.sendall(b'+OK POP3 ready\r\n')
    for line in c.makefile('rb'):
        verb = line.strip()[:4].upper()
        if verb == b'STAT':
            c.sendall(b'+OK 0 0\r\n')
        elif verb == b'QUIT':
            c.sendall(b'+OK bye\r\n')
            break
        else:
            c.sendall(b'+OK\r\n')
    c.close()


server = socket.socket()
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(('127.0.0.1', port))
server.listen(5)
note('listening')
while True:
    client, _ = server.accept()
    threading.Thread(target=serve, args=(client,), daemon=True).start()
