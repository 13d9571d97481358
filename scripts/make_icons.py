#!/usr/bin/env python3
"""Draws the window icon, a red ball flying at three stumps, as 32x32 and
16x16 palette PNGs of at most 16 colours into ui/resources/.

Standard library only, so it runs anywhere Python does; the PNGs it writes
are committed, and the build only packs them."""
import os
import struct
import zlib

# Index 0 is transparent.
PALETTE = [
    (0, 0, 0),        # 0 transparent
    (200, 16, 16),    # 1 ball
    (120, 0, 0),      # 2 ball shadow
    (255, 150, 150),  # 3 ball highlight
    (255, 255, 255),  # 4 seam
    (226, 196, 130),  # 5 stump
    (150, 110, 50),   # 6 stump edge, bails
    (40, 120, 40),    # 7 grass
]


def draw(size):
    s = size / 32.0
    px = [[0] * size for _ in range(size)]

    def put(x, y, c):
        if 0 <= x < size and 0 <= y < size:
            px[y][x] = c

    def rect(x0, y0, x1, y1, c):
        for y in range(int(y0 * s), max(int(y0 * s) + 1, int(y1 * s))):
            for x in range(int(x0 * s), max(int(x0 * s) + 1, int(x1 * s))):
                put(x, y, c)

    # Grass strip, three stumps and two bails on the right.
    rect(14, 29, 32, 32, 7)
    for left in (18, 23, 28):
        rect(left, 8, left + 3, 29, 5)
        rect(left + 2, 8, left + 3, 29, 6)
    rect(18, 6, 25, 8, 6)
    rect(24, 6, 31, 8, 6)

    # The ball, on its way in from the left.
    cx, cy, r = 8.5 * s, 19.5 * s, 6.5 * s
    for y in range(size):
        for x in range(size):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            d2 = dx * dx + dy * dy
            if d2 > r * r:
                continue
            colour = 1
            if dx + dy > r * 0.7:
                colour = 2
            if (dx + r * 0.35) ** 2 + (dy + r * 0.35) ** 2 < (r * 0.3) ** 2:
                colour = 3
            if abs(dx - dy * 0.3) < max(0.6, 0.5 * s) and size >= 32:
                colour = 4
            put(x, y, colour)
    return px


def png(pixels):
    size = len(pixels)
    raw = b"".join(
        b"\x00" + bytes((row[x] << 4) | row[x + 1] for x in range(0, size, 2)) for row in pixels
    )

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 4, 3, 0, 0, 0)
    plte = b"".join(struct.pack("BBB", *c) for c in PALETTE)
    trns = b"\x00"
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"PLTE", plte) + chunk(b"tRNS", trns)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ui", "resources")
    os.makedirs(out, exist_ok=True)
    for size in (32, 16):
        with open(os.path.join(out, "pelmora_%d.png" % size), "wb") as f:
            f.write(png(draw(size)))


if __name__ == "__main__":
    main()
