#!/usr/bin/env python3
"""Writes a program icon (16x16 and 32x32, 32-bit) for the Windows build:
a rounded tile in the program's colour with a light mark in its middle."""
import struct
import sys


def image(size, rgb, mark):
    r, g, b = rgb
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for x in range(size):
            edge = min(x, y, size - 1 - x, size - 1 - y)
            corner = (min(x, size - 1 - x) + min(y, size - 1 - y)) < size // 8
            if corner:
                row += bytes((0, 0, 0, 0))
            elif edge < max(1, size // 16):
                row += bytes((b // 2, g // 2, r // 2, 255))
            elif mark(x / size, y / size):
                row += bytes((250, 250, 250, 255))
            else:
                row += bytes((b, g, r, 255))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    mask = bytes(((size + 31) // 32) * 4 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


MARKS = {
    # a scale: a beam on a post
    "scale": lambda u, v: (0.2 < u < 0.8 and 0.62 < v < 0.7) or (0.46 < u < 0.54 and 0.25 < v < 0.66)
    or (0.3 < u < 0.7 and 0.2 < v < 0.28),
    # a box with an arrow into it
    "setup": lambda u, v: (0.25 < u < 0.75 and 0.2 < v < 0.5) or (0.44 < u < 0.56 and 0.5 < v < 0.82)
    or (abs(u - 0.5) < (0.62 - v) and 0.5 < v < 0.62),
    # a cross
    "remove": lambda u, v: abs(u - v) < 0.08 and 0.25 < u < 0.75 or abs(u + v - 1) < 0.08 and 0.25 < u < 0.75,
    # a bolt
    "upgrade": lambda u, v: abs(u - 0.5 - (v - 0.5) * 0.6) < 0.09 and 0.2 < v < 0.8,
}


def main():
    out, colour, mark = sys.argv[1], sys.argv[2], sys.argv[3]
    rgb = tuple(int(colour[i:i + 2], 16) for i in (0, 2, 4))
    images = [image(s, rgb, MARKS[mark]) for s in (16, 32)]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip((16, 32), images):
        data += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(out, "wb") as f:
        f.write(data + b"".join(images))


main()
