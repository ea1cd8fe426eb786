#!/usr/bin/env python3
"""Draws the window's two pictures and writes them beside this script.

pictures.xpm  - the window's icon, the alarm clock at 32 x 32 and 16 x 16 in the 16 standard colours,
                and its picture, the hourglass with the lips at 45 x 89, as XPM arrays that the
                program compiles in: Qt reads them without an image file or image-format plugin.
icons/NxN.png - the alarm clock for the desktop's menus, drawn the same way at 16, 32, 48 and 256.

The committed files are what the build uses; run this to remake them after a change.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The sixteen standard colours, in their usual order.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREY, RED, MAGENTA, WHITE = 0, 1, 8, 9, 13, 15


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def alarm_clock_pixel(u, v):
    """Colour index at (u, v) in a unit square, or None where the icon is transparent."""
    cx, cy = 0.5, 0.55
    r = math.hypot(u - cx, v - cy)
    # Hands first: hour to ten o'clock, minute to twelve, the second hand to four.
    if r < 0.27:
        if segment_distance(u, v, cx, cy, cx + 0.17 * math.cos(math.radians(150)),
                            cy - 0.17 * math.sin(math.radians(150))) < 0.035:
            return BLACK
        if segment_distance(u, v, cx, cy, cx, cy - 0.24) < 0.03:
            return BLACK
        if segment_distance(u, v, cx, cy, cx + 0.23 * math.cos(math.radians(-30)),
                            cy - 0.23 * math.sin(math.radians(-30))) < 0.022:
            return MAGENTA
        return WHITE
    if r < 0.37:
        return RED if r < 0.34 else MAROON
    for bell_x in (0.2, 0.8):  # the two bells on top
        if math.hypot(u - bell_x, v - 0.17) < 0.14 and v < 0.25:
            return RED
    if segment_distance(u, v, 0.5, 0.18, 0.5, 0.1) < 0.03:
        return GREY  # the hammer
    for leg_end in ((0.2, 0.95), (0.8, 0.95)):
        if segment_distance(u, v, 0.5 + (leg_end[0] - 0.5) * 0.6, 0.82, *leg_end) < 0.045:
            return BLACK
    return None


HOURGLASS_COLOURS = [(211, 211, 211), (212, 160, 23), (140, 100, 10), (255, 255, 255),
                     (200, 0, 30), (110, 0, 20), (170, 200, 220)]
GROUND, GOLD, DARK_GOLD, SAND, LIP, LIP_LINE, GLASS = range(7)


def hourglass_pixel(x, y, width=45, height=89):
    cx = (width - 1) / 2
    if y < 6 or y >= height - 6:  # the golden plates top and bottom
        return DARK_GOLD if y in (0, 5, height - 6, height - 1) else GOLD
    if abs(x - cx) > 19 and (y < 10 or y >= height - 10):
        return GROUND
    if abs(x - cx) in (18, 19) or abs(x - cx) in (18.5,):
        return GOLD  # the posts
    t = (y - 6) / (height - 13)  # 0 at the top of the glass, 1 at its bottom
    half_width = 2 + 14 * abs(math.cos(math.pi * t)) ** 0.8
    if abs(x - cx) > half_width + 1:
        return GROUND
    if abs(x - cx) > half_width:
        return GLASS
    # Lips across the lower bulb.
    lx, ly = (x - cx) / 12.0, (y - 63) / 5.0
    if lx * lx + ly * ly <= 1.0:
        upper = ly < 0.15 * math.cos(lx * math.pi)
        if abs(ly - 0.15 * math.cos(lx * math.pi)) < 0.18:
            return LIP_LINE
        if upper and ly < -0.55 and abs(lx) < 0.2:
            return GROUND if ly < -0.8 else LIP  # the dip of the upper lip
        return LIP
    if t > 0.8 or (0.35 < t < 0.5) or (t <= 0.5 and abs(x - cx) < 1):
        return SAND
    return GROUND if t < 0.5 else GLASS


def xpm(name, rows, colours):
    """One XPM array of colour indices; None is transparent. One character per pixel."""
    used = sorted({p for row in rows for p in row}, key=lambda p: -1 if p is None else p)
    keys = {p: " " if p is None else "0123456789abcdef"[p] for p in used}
    lines = ["%d %d %d 1" % (len(rows[0]), len(rows), len(used))]
    lines += ["%s c %s" % (keys[p], "None" if p is None else "#%02X%02X%02X" % colours[p])
              for p in used]
    lines += ["".join(keys[p] for p in row) for row in rows]
    body = ",\n".join('    "%s"' % line for line in lines)
    return "static const char* const %s[] = {\n%s};\n" % (name, body)


def write_xpm(path):
    icons = [[[alarm_clock_pixel((x + 0.5) / size, (y + 0.5) / size) for x in range(size)]
              for y in range(size)] for size in (32, 16)]
    hourglass = [[hourglass_pixel(x, y) for x in range(45)] for y in range(89)]
    with open(path, "w") as f:
        f.write("/* XPM, written by make-pictures.py */\n")
        f.write(xpm("alarm_clock_32", icons[0], VGA))
        f.write(xpm("alarm_clock_16", icons[1], VGA))
        f.write(xpm("hourglass", hourglass, HOURGLASS_COLOURS))


def write_png(path, size):
    rows = b""
    for y in range(size):
        rows += b"\0"  # no filter
        for x in range(size):
            index = alarm_clock_pixel((x + 0.5) / size, (y + 0.5) / size)
            rows += bytes(VGA[index]) + b"\xff" if index is not None else b"\0\0\0\0"

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    write_xpm(os.path.join(HERE, "pictures.xpm"))
    os.makedirs(os.path.join(HERE, "icons"), exist_ok=True)
    for size in (16, 32, 48, 256):
        write_png(os.path.join(HERE, "icons", "%dx%d.png" % (size, size)), size)
