#!/usr/bin/env python3
"""Draws res/*.ico: each design at 16, 20, 24, 32 and 48 px, 32-bit with alpha.

Every size has its own geometry, snapped to the pixel grid, so that a small icon is
drawn for its size rather than shrunk from a big one.

    scripts/make-icons.py [output folder, res/ by default]
"""
import os
import struct
import sys

SIZES = (48, 32, 24, 20, 16)
SUB = 8  # samples a pixel along each axis; even, so half-pixel edges come out exact

OUTLINE = (0x1B, 0x2A, 0x3A)
GLINT = (0xFF, 0xFF, 0xFF)
RED = (0xD9, 0x2B, 0x2B)
RING = (0xFF, 0xFF, 0xFF)
PAPER = (0xFF, 0xD5, 0x4A)
BROWN = (0x6B, 0x4F, 0x00)

# (white of the eye, iris)
BLUE = ((0xDF, 0xF3, 0xFF), (0x1E, 0x6F, 0xB8))
GREEN = ((0xE4, 0xFF, 0xE0), (0x2E, 0x9D, 0x3A))
GREY = ((0xE6, 0xE6, 0xE6), (0x8A, 0x8A, 0x8A))

# The eye at each size: outer ellipse (cx, cy, rx, ry), outline width, iris (x, y, r),
# glint as a rounded box (x0, y0, x1, y1, corner radius), and the red dot of the
# unreachable host (x, y, r, width of its white ring).
EYE = {
    16: dict(e=(8, 8, 8, 5), t=1, iris=(8, 8, 3), glint=(9, 6, 10, 7, 0), dot=(12.5, 12.5, 2.5, 1)),
    20: dict(e=(10, 10, 10, 7), t=1.5, iris=(10, 10, 4), glint=(11, 7, 13, 9, 0.5), dot=(16, 16, 3, 1)),
    24: dict(e=(12, 12, 12, 8), t=2, iris=(12, 12, 4), glint=(12.9, 8.9, 15.1, 11.1, 1.1), dot=(19, 19, 4, 1)),
    32: dict(e=(16, 16, 15, 10), t=2, iris=(16, 16, 6), glint=(16.6, 12.6, 19.4, 15.4, 1.4), dot=(25.5, 25.5, 5.5, 1)),
    48: dict(e=(24, 24, 23, 15), t=3, iris=(24, 24, 9), glint=(25, 19, 29, 23, 1.6), dot=(38.5, 38.5, 7.5, 2)),
}

# The envelope at each size: outer box (x0, y0, x1, y1), border width, the flap's lowest
# point (x, y) and the flap's line width.
MAIL = {
    16: dict(box=(1, 3, 15, 13), t=1, tip=(8, 8.5), w=1),
    20: dict(box=(1, 4, 19, 17), t=1, tip=(10, 11), w=1.25),
    24: dict(box=(1, 4, 23, 20), t=2, tip=(12, 12.5), w=1.5),
    32: dict(box=(2, 6, 30, 26), t=2, tip=(16, 16.5), w=1.6),
    48: dict(box=(3, 9, 45, 39), t=3, tip=(24, 25), w=2.4),
}


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def box(x0, y0, x1, y1, r=0):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside


def line(points, width):
    half2 = (width / 2) ** 2
    segments = list(zip(points, points[1:]))

    def inside(x, y):
        for (ax, ay), (bx, by) in segments:
            dx, dy = bx - ax, by - ay
            t = max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= half2:
                return True
        return False
    return inside


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def render(size, layers):
    """Layers top first, as (shape, colour); each sample takes the first that covers it."""
    pixels = []
    n = SUB * SUB
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = hits = 0
            for j in range(SUB):
                y = py + (j + 0.5) / SUB
                for i in range(SUB):
                    x = px + (i + 0.5) / SUB
                    for shape, colour in layers:
                        if shape(x, y):
                            r, g, b, hits = r + colour[0], g + colour[1], b + colour[2], hits + 1
                            break
            if hits:
                row.append((round(r / hits), round(g / hits), round(b / hits), round(255 * hits / n)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def eye(size, colours, reachable):
    p = EYE[size]
    cx, cy, rx, ry = p["e"]
    t = p["t"]
    white = ellipse(cx, cy, rx - t, ry - t)
    layers = []
    if not reachable:
        x, y, r, ring = p["dot"]
        layers += [(disc(x, y, r), RED), (disc(x, y, r + ring), RING)]
    else:
        layers.append((box(*p["glint"]), GLINT))
    layers += [(both(disc(*p["iris"]), white), colours[1]), (white, colours[0]),
               (ellipse(cx, cy, rx, ry), OUTLINE)]
    return render(size, layers)


def mail(size):
    p = MAIL[size]
    x0, y0, x1, y1 = p["box"]
    t = p["t"]
    inner = box(x0 + t, y0 + t, x1 - t, y1 - t)
    flap = line([(x0 + t, y0 + t), p["tip"], (x1 - t, y0 + t)], p["w"])
    return render(size, [(both(flap, inner), BROWN), (inner, PAPER), (box(x0, y0, x1, y1), BROWN)])


def bitmap(pixels):
    size = len(pixels)
    colour = b"".join(struct.pack("<4B", b, g, r, a) for row in reversed(pixels) for r, g, b, a in row)
    stride = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(pixels):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (stride * 8 - 1 - x)
        mask += bits.to_bytes(stride, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def ico(images):
    data = [bitmap(p) for p in images]
    out = struct.pack("<HHH", 0, 1, len(data))
    offset = 6 + 16 * len(data)
    for pixels, image in zip(images, data):
        size = len(pixels) % 256
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(data)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "res")
    designs = {
        ("app.ico", "tray_start.ico"): lambda s: eye(s, BLUE, True),  # the tray starts with the program's own
        ("eye_on.ico",): lambda s: eye(s, GREEN, True),
        ("eye_off.ico",): lambda s: eye(s, GREY, True),
        ("eye_on_nohost.ico",): lambda s: eye(s, GREEN, False),
        ("eye_off_nohost.ico",): lambda s: eye(s, GREY, False),
        ("mail.ico",): mail,
    }
    for names, draw in designs.items():
        data = ico([draw(s) for s in SIZES])
        for name in names:
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
