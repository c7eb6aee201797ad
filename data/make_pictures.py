#!/usr/bin/env python3
"""Writes the program folder's default pictures and icons into OUT_DIR.

Usage: make_pictures.py OUT_DIR

  Icons/Install/Setup.ico        installer icon: 16, 32 and 48 pixels, 32-bit with AND mask
  Icons/Uninstall/Uninstall.ico  uninstaller icon, same sizes
  Bitmaps/Header/Header.bmp      wizard header picture, 48 x 48, 24-bit; its corner pixel is
                                 the transparent colour
  Bitmaps/Wizard/Wizard.bmp      wizard logo picture, 164 x 314, 24-bit
  Data/Logo.bmp                  splash picture, 400 x 200, 24-bit
  Data/Folder.png, Data/Group.png, Data/Password.png
                                 48 x 48 RGBA pictures of the wizard's folder, program group and
                                 password pages

Everything is drawn from plain geometry with the standard library only, so the files are the
same byte for byte on every machine.
"""
import os
import struct
import sys
import zlib


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


# --- drawings: functions (x, y, w, h) -> (r, g, b, a), y counted from the top -------------

def box_icon(arrow_colour):
    """A carton with a lid and an arrow: down for installing, up for removing."""
    def draw(x, y, w, h):
        n = w
        m = max(1, n // 16)
        inside = m <= x < n - m and n // 3 <= y < n - m
        lid = n // 8 <= x < n - n // 8 and n // 4 <= y < n // 3 + m
        ax = abs(x - n // 2)
        if arrow_colour == 'down':
            arrow = (ax <= m and 0 <= y < n // 2) or (n // 2 - 2 * m <= y < n // 2 + 2 * m and ax <= n // 2 + 2 * m - y)
        else:
            arrow = (ax <= m and n // 8 <= y < n // 2 + 2 * m) or (0 <= y < n // 4 and ax <= y + m)
        if arrow:
            return (200, 40, 40, 255) if arrow_colour == 'down' else (40, 150, 40, 255)
        if lid:
            return (150, 90, 30, 255)
        if inside:
            edge = x < 2 * m or x >= n - 2 * m or y >= n - 2 * m
            return (170, 110, 40, 255) if edge else (230, 170, 90, 255)
        return (0, 0, 0, 0)
    return draw


def header(x, y, w, h):
    """A blue disc with a white check mark on a magenta (transparent) ground."""
    cx, cy, r = w / 2 - 0.5, h / 2 - 0.5, w / 2 - 2
    d2 = (x - cx) ** 2 + (y - cy) ** 2
    if d2 > r * r:
        return (255, 0, 255, 255)
    # check mark: two thick strokes
    u, v = x / w, y / h
    stroke1 = 0.22 <= u <= 0.45 and abs((v - 0.50) - (u - 0.22)) < 0.07
    stroke2 = 0.40 <= u <= 0.78 and abs((v - 0.72) + (u - 0.40) * 1.05) < 0.07
    if stroke1 or stroke2:
        return (255, 255, 255, 255)
    return lerp((60, 120, 220), (20, 50, 140), (y / h)) + (255,)


def wizard(x, y, w, h):
    """A vertical gradient with a few diagonal bands."""
    base = lerp((40, 80, 160), (150, 190, 240), y / h)
    if (x + y) % 60 < 6:
        base = lerp(base, (255, 255, 255), 0.35)
    return base + (255,)


def splash(x, y, w, h):
    """A horizontal gradient with a frame."""
    if x < 3 or y < 3 or x >= w - 3 or y >= h - 3:
        return (20, 40, 90, 255)
    return lerp((30, 70, 150), (120, 170, 230), x / w) + (255,)


def folder(x, y, w, h):
    n = w
    tab = n // 8 <= x < n // 2 and n // 5 <= y < n // 3
    body = n // 16 <= x < n - n // 16 and n // 3 - 2 <= y < n - n // 8
    if tab or body:
        edge = y == n // 3 - 2 or x == n // 16 or x == n - n // 16 - 1 or y == n - n // 8 - 1
        return (200, 150, 30, 255) if edge else (250, 210, 80, 255)
    return (0, 0, 0, 0)


def group(x, y, w, h):
    """Three small windows in a stack: a program group."""
    for k in range(3):
        x0, y0 = 6 + 8 * k, 6 + 8 * k
        if x0 <= x < x0 + 24 and y0 <= y < y0 + 20:
            if y < y0 + 5:
                return (30, 80, 180, 255)
            edge = x in (x0, x0 + 23) or y == y0 + 19
            return (30, 80, 180, 255) if edge else (240, 240, 250, 255)
    return (0, 0, 0, 0)


def password(x, y, w, h):
    """A padlock."""
    cx = w / 2 - 0.5
    shackle_r = (x - cx) ** 2 + (y - 18) ** 2
    if y < 20 and 64 <= shackle_r <= 144:
        return (120, 120, 130, 255)
    if 10 <= x < w - 10 and 20 <= y < h - 6:
        if abs(x - cx) <= 2 and 28 <= y < 38:
            return (40, 30, 10, 255)
        return (230, 180, 40, 255)
    return (0, 0, 0, 0)


# --- writers ----------------------------------------------------------------------------

def rows_bgr(draw, w, h):
    """Bottom-up rows of 24-bit BGR pixels padded to four bytes."""
    out = bytearray()
    pad = (4 - (w * 3) % 4) % 4
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, _ = draw(x, y, w, h)
            out += bytes((b, g, r))
        out += b'\0' * pad
    return bytes(out)


def bmp(draw, w, h):
    pixels = rows_bgr(draw, w, h)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def png(draw, w, h):
    raw = bytearray()
    for y in range(h):
        raw.append(0)
        for x in range(w):
            raw += bytes(draw(x, y, w, h))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)
    ihdr = struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b'')


def ico_image(draw, n):
    """One 32-bit icon image: header, bottom-up BGRA rows, AND mask (1 = transparent)."""
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    mask_stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for y in range(n - 1, -1, -1):
        row_mask = bytearray(mask_stride)
        for x in range(n):
            r, g, b, a = draw(x, y, n, n)
            xor += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    return header + bytes(xor) + bytes(mask)


def ico(draw, sizes):
    images = [ico_image(draw, n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    return out + b''.join(images)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    root = sys.argv[1]
    files = {
        'Icons/Install/Setup.ico': ico(box_icon('down'), (16, 32, 48)),
        'Icons/Uninstall/Uninstall.ico': ico(box_icon('up'), (16, 32, 48)),
        'Bitmaps/Header/Header.bmp': bmp(header, 48, 48),
        'Bitmaps/Wizard/Wizard.bmp': bmp(wizard, 164, 314),
        'Data/Logo.bmp': bmp(splash, 400, 200),
        'Data/Folder.png': png(folder, 48, 48),
        'Data/Group.png': png(group, 48, 48),
        'Data/Password.png': png(password, 48, 48),
    }
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        tmp = path + '.tmp'
        with open(tmp, 'wb') as f:
            f.write(data)
        os.replace(tmp, path)


if __name__ == '__main__':
    main()
