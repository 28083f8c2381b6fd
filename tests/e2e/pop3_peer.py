#!/usr/bin/env python3
"""A POP3 server on 127.0.0.1 for the stories and the benchmark; it logs each connection and
command. The mailbox file says "count N" or "silent" and is read at each connection.
Usage: pop3_peer.py PORT MAILBOX LOGFILE
"""
import socket
import sys
import threading
import time

port, mailbox, log = int(sys.argv[1]), sys.argv[2], sys.argv[3]
lock = threading.Lock()


def note(text):
    with lock, open(log, 'a') as f:
        f.write('%.3f %s\n' % (time.time(), text))


def serve(c):
    mode = open(mailbox).read().split()
    if mode[0] == 'silent':
        note('connected, silent')
        try:
            c.recv(1)  # until the client gives up
        except OSError:
            pass
        note('client gave up')
        c.close()
        return
    note('connected')
    c.sendall(b'+OK POP3 ready\r\n')
    for line in c.makefile('rb'):
        command = line.strip().decode('latin-1')
        note(command)
        verb = command[:4].upper()
        if verb == 'STAT':
            c.sendall(('+OK %s %d\r\n' % (mode[1], int(mode[1]) * 1000)).encode())
        elif verb == 'QUIT':
            c.sendall(b'+OK bye\r\n')
            break
        elif verb == 'CAPA':
            c.sendall(b'-ERR unknown command\r\n')  # a server of RFC 1939 alone
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
