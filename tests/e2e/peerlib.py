"""What the local test peers share: the log of what they were sent, the file that steers them."""
import threading
import time

_lock = threading.Lock()


def logger(path):
    def log(text):
        with _lock, open(path, 'a', encoding='utf-8') as f:
            f.write(time.strftime('%H:%M:%S ') + text + '\n')
    return log


def first_line(path, default=''):
    try:
        with open(path, encoding='utf-8') as f:
            return f.readline().strip()
    except OSError:
        return default
