#!/usr/bin/env python3
"""Draws the window's two pictures and writes them beside this script.

horavox.ico   - the alarm clock: 32 x 32 and 16 x 16, 16 colours each, 1,078 bytes.
hourglass.gif - the hourglass with the lips: 45 x 89, one interlaced image, 256-entry colour table.
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


def icon_image(size):
    pixels = [[alarm_clock_pixel((x + 0.5) / size, (y + 0.5) / size) for x in range(size)]
              for y in range(size)]
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in VGA)
    colour_rows, mask_rows = b"", b""
    for row in reversed(pixels):  # bitmaps run bottom-up
        indices = [0 if p is None else p for p in row]
        colour_rows += bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        bits = "".join("1" if p is None else "0" for p in row).ljust(32, "0")
        mask_rows += int(bits, 2).to_bytes(4, "big")
    return header + palette + colour_rows + mask_rows


def write_icon(path):
    images = [icon_image(32), icon_image(16)]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip((32, 16), images):
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(directory + b"".join(images))


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


def lzw(indices, minimum_code_size=8):
    clear, end = 1 << minimum_code_size, (1 << minimum_code_size) + 1
    codes, out, bits, nbits = [], bytearray(), 0, 0
    table = {bytes([i]): i for i in range(clear)}
    size, next_code = minimum_code_size + 1, end + 1
    codes.append((clear, size))
    current = b""
    for index in indices:
        candidate = current + bytes([index])
        if candidate in table:
            current = candidate
            continue
        codes.append((table[current], size))
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            codes.append((clear, size))
            table = {bytes([i]): i for i in range(clear)}
            size, next_code = minimum_code_size + 1, end + 1
        current = bytes([index])
    codes.append((table[current], size))
    codes.append((end, size))
    for code, width in codes:
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        out.append(bits)
    return bytes(out)


def write_gif(path, width=45, height=89):
    rows = [[hourglass_pixel(x, y) for x in range(width)] for y in range(height)]
    interlaced = [y for start, step in ((0, 8), (4, 8), (2, 4), (1, 2))
                  for y in range(start, height, step)]
    indices = [i for y in interlaced for i in rows[y]]
    palette = HOURGLASS_COLOURS + [(0, 0, 0)] * (256 - len(HOURGLASS_COLOURS))
    data = lzw(indices)
    blocks = b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255]
                      for i in range(0, len(data), 255))
    with open(path, "wb") as f:
        f.write(b"GIF89a" + struct.pack("<HHBBB", width, height, 0xF7, 0, 0))
        f.write(b"".join(bytes(c) for c in palette))
        f.write(b"," + struct.pack("<HHHHB", 0, 0, width, height, 0x40))
        f.write(bytes([8]) + blocks + b"\x00;")


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
    write_icon(os.path.join(HERE, "horavox.ico"))
    write_gif(os.path.join(HERE, "hourglass.gif"))
    os.makedirs(os.path.join(HERE, "icons"), exist_ok=True)
    for size in (16, 32, 48, 256):
        write_png(os.path.join(HERE, "icons", "%dx%d.png" % (size, size)), size)
