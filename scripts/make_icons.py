#!/usr/bin/env python3
"""Draws the program icon, a red ball flying at three stumps: 32x32 and
16x16 palette PNGs of at most 16 colours into ui/resources/ (the window's
icon), and for the desktop theme the same picture as SVG and as smooth
RGBA PNGs from 24 to 512 pixels into data/icons/.

Standard library only, so it runs anywhere Python does; the files it writes
are committed, and the build only packs and installs them."""
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


# The same picture in the 32-unit square, for the smooth sizes and the SVG.
BALL = (8.5, 19.5, 6.5)
RECTS = [(14, 29, 32, 32, 7)]
for _left in (18, 23, 28):
    RECTS += [(_left, 8, _left + 3, 29, 5), (_left + 2, 8, _left + 3, 29, 6)]
RECTS += [(18, 6, 25, 8, 6), (24, 6, 31, 8, 6)]
SEAM = 0.5


def colour_at(x, y):
    """Palette index at a point of the 32-unit square (0: nothing)."""
    cx, cy, r = BALL
    dx, dy = x - cx, y - cy
    if dx * dx + dy * dy <= r * r:
        if abs(dx - dy * 0.3) < SEAM:
            return 4
        if (dx + r * 0.35) ** 2 + (dy + r * 0.35) ** 2 < (r * 0.3) ** 2:
            return 3
        return 2 if dx + dy > r * 0.7 else 1
    found = 0
    for x0, y0, x1, y1, c in RECTS:
        if x0 <= x < x1 and y0 <= y < y1:
            found = c
    return found


def draw_smooth(size, samples=4):
    """RGBA rows, each pixel the mean of samples x samples points."""
    rows = []
    step = 32.0 / size / samples
    for py in range(size):
        row = bytearray()
        for px in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px * samples + sx + 0.5) * step, (py * samples + sy + 0.5) * step)
                    if c:
                        cr, cg, cb = PALETTE[c]
                        r, g, b, a = r + cr, g + cg, b + cb, a + 1
            row += bytes((r // a, g // a, b // a, 255 * a // (samples * samples))) if a else bytes(4)
        rows.append(bytes(row))
    return rows


def png_rgba(rows):
    size = len(rows)
    raw = b"".join(b"\x00" + row for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def svg():
    def hexc(c):
        return "#%02x%02x%02x" % PALETTE[c]

    cx, cy, r = BALL
    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">',
           '  <defs><clipPath id="ball"><circle cx="%g" cy="%g" r="%g"/></clipPath></defs>' % (cx, cy, r)]
    for x0, y0, x1, y1, c in RECTS:
        out.append('  <rect x="%g" y="%g" width="%g" height="%g" fill="%s"/>' % (x0, y0, x1 - x0, y1 - y0, hexc(c)))
    out.append('  <g clip-path="url(#ball)">')
    out.append('    <circle cx="%g" cy="%g" r="%g" fill="%s"/>' % (cx, cy, r, hexc(1)))
    # The shadow beyond the line dx + dy = 0.7 r.
    k = r * 0.7
    out.append('    <polygon points="%g,%g %g,%g %g,%g" fill="%s"/>'
               % (cx + k - 20, cy + 20, cx + k + 20, cy - 20, cx + 20, cy + 20, hexc(2)))
    out.append('    <circle cx="%g" cy="%g" r="%g" fill="%s"/>'
               % (cx - r * 0.35, cy - r * 0.35, r * 0.3, hexc(3)))
    # The seam: the band |dx - 0.3 dy| < SEAM.
    out.append('    <polygon points="%g,%g %g,%g %g,%g %g,%g" fill="%s"/>'
               % (cx - SEAM - 3, cy - 10, cx + SEAM - 3, cy - 10, cx + SEAM + 3, cy + 10, cx - SEAM + 3, cy + 10,
                  hexc(4)))
    out.append("  </g>")
    out.append("</svg>")
    return "\n".join(out) + "\n"


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    out = os.path.join(root, "ui", "resources")
    os.makedirs(out, exist_ok=True)
    for size in (32, 16):
        with open(os.path.join(out, "pelmora_%d.png" % size), "wb") as f:
            f.write(png(draw(size)))
    icons = os.path.join(root, "data", "icons")
    os.makedirs(icons, exist_ok=True)
    with open(os.path.join(icons, "pelmora.svg"), "w") as f:
        f.write(svg())
    for size in (24, 48, 64, 128, 256, 512):
        with open(os.path.join(icons, "pelmora_%d.png" % size), "wb") as f:
            f.write(png_rgba(draw_smooth(size)))


if __name__ == "__main__":
    main()
