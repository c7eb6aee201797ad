#!/bin/sh
# Rebuilds the fuzz seeds: small stripped test programs made from the test sources, with and
# without resources, with a section after .rsrc and appended data.
# Usage: make_seeds.sh  (writes into the seeds/ folder beside this script)
set -e
here=$(cd "$(dirname "$0")" && pwd)
fixtures="$here/../fixtures"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
/usr/bin/python3 - <<'PY'
import struct
def ico(sizes, name):
    head = struct.pack('<HHH', 0, 1, len(sizes)); imgs = b''
    for n in sizes:
        img = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
        img += bytes([0x40, 0x80, 0xC0, 0xFF]) * (n * n) + bytes((n + 31) // 32 * 4 * n)
        head += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(img), 6 + 16 * len(sizes) + len(imgs))
        imgs += img
    open(name, 'wb').write(head + imgs)
ico([16], 'main.ico')
ico([16], 'other.ico')
PY
i686-w64-mingw32-windres -I . "$fixtures/hello.rc" -O coff -o res.o
i686-w64-mingw32-gcc -Os -s -o "$here/seeds/hello.exe" "$fixtures/hello.c" res.o
i686-w64-mingw32-gcc -Os -s -o "$here/seeds/nores.exe" "$fixtures/hello.c"
# A tiny program without the C runtime: the resource section is a large part of the file.
printf 'void start(void) {}\n' > tiny.c
i686-w64-mingw32-gcc -Os -s -nostdlib -Wl,-e,_start -o "$here/seeds/tiny.exe" tiny.c res.o
cp "$here/seeds/hello.exe" "$here/seeds/appended.exe"
printf 'appended data after the last section' >> "$here/seeds/appended.exe"
