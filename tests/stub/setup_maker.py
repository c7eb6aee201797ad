"""Test-only assembler of setup files, written from the published layout the build follows:
stub, installer script (sections A..O of zero-terminated values), data block, payload (stored
records or cabinets made by gcab, each without its 4-byte signature), volumes, 36-byte trailer.

Values are given as the build writes them, variable codes included ("@$&%04" for the install
folder). The installer tests use it to run Install.exe under Wine before and besides the real
build pipeline.
"""
import os
import struct
import subprocess
import tempfile

FIELD_COUNT = 121
CABINET_SIZE = 0x800000
# section: (values per entry, field of section A that counts the entries)
SECTIONS = [('B', 4, 98), ('C', 7, 50), ('D', 3, 96), ('E', 2, 31), ('F', 8, 54), ('G', 3, 67),
            ('H', 2, 93), ('I', 6, 40), ('J', 6, 25), ('K', 6, 24), ('L', 2, 45), ('M', 2, 20),
            ('N', 4, 26)]
TEXTS_PER_LANGUAGE = 99


def scrambled_password(text: bytes) -> bytes:
    n = len(text)
    a = 0
    out = bytearray()
    for i in range(1, n + 1):
        si = text[i - 1]
        a = (a * (n - i + 1) + si) & 0xFFFFFFFF
        x = (si * a + i) & 0xFFFFFFFF
        while True:
            x %= 90
            if x < 48:
                x += 48
            if 48 <= x <= 90:
                break
        out.append(x)
    return bytes(out)


def default_fields():
    f = ['0'] * FIELD_COUNT
    f[0] = 'Belvandorithquessal v. 5.04'
    f[21] = 'disk@$&%19.pak'
    f[28] = 'Test Product'
    f[35] = '1.0'
    f[42] = 'Test Company'
    f[29] = ''
    f[34] = '1'
    f[53] = 'Test Product'
    f[55] = 'Test Product 1.0'
    f[57] = str(TEXTS_PER_LANGUAGE)
    f[58] = '@$&%01\\Test Company\\Test Product'
    f[62] = 'Windows.'
    f[65] = 'Test Product Setup'
    f[75] = 'Test Product Uninstall'
    f[91] = '@$&%04\\Uninstall.exe'
    f[92] = '@$&%04\\Uninstall.ini'
    f[95] = str(CABINET_SIZE)
    f[100] = '0'
    f[106] = 'Test Product 1.0'
    f[110] = '1'
    for k in (27, 37, 43, 47, 74, 94, 97, 104, 107, 8, 9, 11, 19):
        f[k] = ''
    return f


class Setup:
    """Describe a setup, then write() it."""

    def __init__(self, stub, uninstaller=None):
        self.stub = stub
        self.uninstaller = uninstaller
        self.fields = default_fields()
        self.sections = {name: [] for name, _, _ in SECTIONS}
        self.files = []          # (bytes, destination, mode, uninstall)
        self.side_files = []     # (name, bytes)
        self.languages = [('English', '1033', '', '', {})]
        self.cabinets = False
        self.volume_size = None  # None: single file

    def add_file(self, data, dest, mode='2', uninstall='1'):
        self.files.append((data, dest, mode, uninstall))

    def script(self, payload_files, cabinet_sizes):
        f = list(self.fields)
        uninstall = self.uninstaller is not None
        f[56] = '1' if uninstall else '0'
        for name, width, count_field in SECTIONS:
            entries = self.sections[name]
            if name in ('J', 'L') and not uninstall:
                entries = []
            for e in entries:
                assert len(e) == width, (name, e)
            f[count_field] = str(len(entries))
        f[26] = str(len(self.languages))
        f[67] = str(len(payload_files))
        f[23] = str(sum(len(d) for d, *_ in payload_files))
        f[34] = '1' if self.volume_size is None else '0'
        if self.cabinets:
            f[117] = str(len(cabinet_sizes) - 1)
            f[118] = str(cabinet_sizes[-1] - 4)
        values = list(f)
        for name, _, _ in SECTIONS:
            if name in ('J', 'L') and not uninstall:
                continue
            if name == 'G':
                for data, dest, mode, un in payload_files:
                    values += [dest, mode, un]
                continue
            if name == 'N':
                for caption, ident, lic, info, _ in self.languages:
                    values += [caption, ident, lic, info]
                continue
            for e in self.sections[name]:
                values += list(e)
        for *_, texts in self.languages:
            values += [texts.get(i, '') for i in range(1, TEXTS_PER_LANGUAGE + 1)]
        out = b''
        for v in values:
            b = v.encode('cp1252') if isinstance(v, str) else v
            assert b'\0' not in b
            out += b + b'\0'
        return out

    def write(self, path):
        files = list(self.files)
        if self.uninstaller is not None:
            with open(self.uninstaller, 'rb') as fh:
                files.append((fh.read(), self.fields[91], '2', '1'))
        with tempfile.TemporaryDirectory() as tmp:
            cab_files = []
            if self.cabinets:
                names = []
                for i, (data, *_rest) in enumerate(files):
                    with open(os.path.join(tmp, str(i)), 'wb') as fh:
                        fh.write(data)
                    names.append(str(i))
                cab = os.path.join(tmp, 'payload.cab')
                subprocess.run(['gcab', '-c', '-z', cab] + names, cwd=tmp, check=True)
                cab_files.append(open(cab, 'rb').read())
                payload = b''.join(c[4:] for c in cab_files)
                data_block = b''
                if self.side_files:
                    sdir = os.path.join(tmp, 'side')
                    os.mkdir(sdir)
                    for name, data in self.side_files:
                        with open(os.path.join(sdir, name.replace('\\', '_')), 'wb') as fh:
                            fh.write(data)
                    # gcab keeps the names as given; the side files carry a backslash
                    dcab = os.path.join(tmp, 'data.cab')
                    subprocess.run(['gcab', '-c', '-z', dcab] +
                                   [name.replace('\\', '_') for name, _ in self.side_files], cwd=sdir, check=True)
                    raw = open(dcab, 'rb').read()
                    for name, _ in self.side_files:
                        raw = raw.replace(name.replace('\\', '_').encode() + b'\0', name.encode() + b'\0')
                    data_block = raw[4:]
            else:
                payload = b''
                for i, (data, *_rest) in enumerate(files):
                    payload += struct.pack('<IQQI', i, len(data), 132000000000000000, 0x20) + data
                data_block = b''.join(name.encode() + b'\0' + str(len(data)).encode() + b'\0' + data
                                      for name, data in self.side_files)
            script = self.script(files, [len(c) for c in cab_files])
        stub = open(self.stub, 'rb').read()
        s0 = len(stub)
        s1 = s0 + len(script)
        s2 = s1 + len(data_block)
        trailer = struct.pack('<QQQQBBBB', s0, len(data_block), s1, s2, 1 if self.cabinets else 0,
                              len(self.side_files) & 0xFF, 120, 241)
        head = stub + script + data_block
        if self.volume_size is None:
            with open(path, 'wb') as fh:
                fh.write(head + payload + trailer)
            return [path]
        v = self.volume_size
        first = max(0, v - 36 - len(head))
        volumes = [head + payload[:first] + trailer]
        rest = payload[first:]
        while rest:
            volumes.append(rest[:v])
            rest = rest[v:]
        paths = []
        folder = os.path.dirname(path)
        for n, content in enumerate(volumes):
            p = path if n == 0 else os.path.join(folder, self.fields[21].replace('@$&%19', str(n + 1)))
            with open(p, 'wb') as fh:
                fh.write(content)
            paths.append(p)
        return paths
