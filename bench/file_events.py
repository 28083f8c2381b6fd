#!/usr/bin/env python3
"""Prints the time of each open and rename-into of one file in a folder, until it is renamed
into place or the time is up; the first line, "ready", comes once the watch is set.
Usage: file_events.py FOLDER NAME SECONDS
"""
import ctypes
import os
import select
import struct
import sys
import time

folder, name, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
IN_OPEN, IN_MOVED_TO = 0x20, 0x80
libc = ctypes.CDLL(None, use_errno=True)
fd = libc.inotify_init()
if fd < 0 or libc.inotify_add_watch(fd, folder.encode(), IN_OPEN | IN_MOVED_TO) < 0:
    sys.exit('inotify: %s' % os.strerror(ctypes.get_errno()))
print('ready', flush=True)
end = time.time() + seconds
while time.time() < end:
    if not select.select([fd], [], [], 0.5)[0]:
        continue
    data = os.read(fd, 65536)
    now = time.time()
    i = 0
    while i < len(data):
        _, mask, _, size = struct.unpack_from('iIII', data, i)
        event_name = data[i + 16:i + 16 + size].rstrip(b'\0').decode('utf-8', 'replace')
        i += 16 + size
        if event_name != name:
            continue
        kind = 'moved' if mask & IN_MOVED_TO else 'open'
        print('%.4f %s' % (now, kind), flush=True)
        if kind == 'moved':
            sys.exit(0)
sys.exit(1)
