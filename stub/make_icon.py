#!/usr/bin/env python3
"""Writes the stubs' default icon: a 16x16 and a 32x32 image, 32-bit colour with an AND mask.

Usage: make_icon.py OUT.ico
The drawing is a box with a lid and a downward arrow, in plain geometry, so the file is
reproducible byte for byte.
"""
import struct
import sys


def pixel(x, y, n):
    """Colour (b, g, r, a) of pixel (x, y) of an n x n image, y counted from the top."""
    m = max(1, n // 16)
    inside = m <= x < n - m and n // 3 <= y < n - m
    lid = 0 <= x < n and n // 4 <= y < n // 3 + m
    arrow_x = abs(x - n // 2)
    arrow = (arrow_x <= m and m <= y < n // 2) or (n // 2 <= y < n // 2 + 3 * m and arrow_x <= n // 2 + 2 * m - y + m)
    if arrow:
        return (40, 40, 200, 255)
    if lid:
        return (30, 90, 150, 255)
    if inside:
        edge = x < 2 * m or x >= n - 2 * m or y >= n - 2 * m
        return (40, 110, 170, 255) if edge else (90, 170, 230, 255)
    return (0, 0, 0, 0)


def image(n):
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    for y in reversed(range(n)):  # bottom-up rows
        rows.append(b''.join(bytes(pixel(x, y, n)) for x in range(n)))
        mask = bytearray((n + 31) // 32 * 4)
        for x in range(n):
            if pixel(x, y, n)[3] == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(bytes(mask))
    return header + b''.join(rows) + b''.join(mask_rows)


def main():
    sizes = (32, 16)
    images = [image(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
