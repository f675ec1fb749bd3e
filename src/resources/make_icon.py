#!/usr/bin/env python3
"""Draws the program's icon: 32 x 32 pixels, 24 bits per pixel, written as an .ico file.

A dark blue tile with a light keycap and a red bar above it (a health bar over a key)."""
import struct
import sys

SIZE = 32


def pixel(x, y):
    # keycap: rounded square, light grey with a darker rim
    if 7 <= x <= 24 and 12 <= y <= 28:
        corner = (x in (7, 24)) and (y in (12, 28))
        if corner:
            return (40, 48, 96)
        rim = x in (7, 24) or y in (12, 28)
        if rim:
            return (120, 124, 140)
        if 11 <= x <= 20 and 16 <= y <= 18:  # the letter's bar
            return (40, 48, 96)
        if 15 <= x <= 16 and 16 <= y <= 25:  # the letter's stem
            return (40, 48, 96)
        return (228, 230, 236)
    # health bar
    if 5 <= x <= 26 and 4 <= y <= 8:
        if x in (5, 26) or y in (4, 8):
            return (20, 20, 20)
        return (220, 30, 30) if x < 20 else (90, 20, 20)
    # background: vertical gradient of dark blue
    shade = 60 + y * 2
    return (20, 30, shade)


def ico_bytes():
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        row = b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in (pixel(x, y) for x in range(SIZE)))
        rows.append(row)
    xor = b"".join(rows)
    and_mask = b"\x00" * (4 * SIZE)  # fully opaque
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 24, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(image), 22)
    return directory + image


if __name__ == "__main__":
    with open(sys.argv[1] if len(sys.argv) > 1 else "tavrik.ico", "wb") as out:
        out.write(ico_bytes())
