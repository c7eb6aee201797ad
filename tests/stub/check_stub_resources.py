#!/usr/bin/python3
"""Checks the structure of the cross-built stubs with tools of others: pefile and wrestool.

Usage: check_stub_resources.py Install.exe [Uninstall.exe ...]
Each file must be a PE32 (i386) Windows program that carries the icon group "MAINICON" in
language 0 with real icon images, and a version resource (type 16, name 1) whose string table
"040904e4" holds the four values the build overwrites as blank placeholders of at least 128
characters, plus the fixed file information. The resource section must start its section
(the build locates it by the section's address) and no section with code or imports may
follow it (the build moves what follows when it rebuilds the resources).
"""
import subprocess
import sys

import pefile

PATCHED = (b'CompanyName', b'FileDescription', b'FileVersion', b'LegalCopyright')


def fail(path, message):
    print(f'{path}: {message}')
    sys.exit(1)


def check(path):
    pe = pefile.PE(path)
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE['IMAGE_FILE_MACHINE_I386']:
        fail(path, 'not an i386 image')
    if pe.OPTIONAL_HEADER.Magic != 0x10B or pe.FILE_HEADER.SizeOfOptionalHeader != 224:
        fail(path, 'not a PE32 image with a 224-byte optional header')
    if pe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE['IMAGE_SUBSYSTEM_WINDOWS_GUI']:
        fail(path, 'not a GUI program')

    rsrc_rva = pe.OPTIONAL_HEADER.DATA_DIRECTORY[2].VirtualAddress
    starts = [s for s in pe.sections if s.VirtualAddress == rsrc_rva and s.SizeOfRawData]
    if not starts:
        fail(path, 'no section begins with the resource directory')
    later = [s for s in pe.sections if s.VirtualAddress > rsrc_rva]
    for s in later:
        name = s.Name.rstrip(b'\0')
        if name != b'.reloc':
            fail(path, f'section {name!r} follows the resources')

    imports = {e.dll.decode().lower() for e in pe.DIRECTORY_ENTRY_IMPORT}
    allowed = {'kernel32.dll', 'user32.dll', 'gdi32.dll', 'advapi32.dll', 'shell32.dll',
               'ole32.dll', 'oleaut32.dll', 'comctl32.dll', 'shlwapi.dll', 'cabinet.dll',
               'gdiplus.dll', 'msvcrt.dll'}
    if not imports <= allowed:
        fail(path, f'imports beyond the system DLLs: {sorted(imports - allowed)}')

    tables = [st for fi in pe.FileInfo[0] if fi.Key == b'StringFileInfo' for st in fi.StringTable]
    table = next((st for st in tables if st.LangID.lower() == b'040904e4'), None)
    if table is None:
        fail(path, 'no string table 040904e4')
    for key in PATCHED:
        value = table.entries.get(key)
        if value is None:
            fail(path, f'{key.decode()} missing')
        if len(value) < 128 or value.strip(b' ') != b'':
            fail(path, f'{key.decode()} is not a placeholder of at least 128 blanks')
    if not getattr(pe, 'VS_FIXEDFILEINFO', None):
        fail(path, 'no fixed file information')
    version_entries = [e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == 16]
    if not version_entries or not any(n.id == 1 for n in version_entries[0].directory.entries):
        fail(path, 'no version resource of name 1')

    listing = subprocess.run(['wrestool', '-l', path], capture_output=True, text=True,
                             check=True).stdout
    if "--type=14 --name='MAINICON' --language=0" not in listing:
        fail(path, 'no icon group MAINICON in language 0:\n' + listing)
    ico = subprocess.run(['wrestool', '-x', '--type=14', "--name=MAINICON", path],
                         capture_output=True, check=True).stdout
    if len(ico) < 6 or ico[:4] != b'\0\0\1\0' or ico[4] == 0:
        fail(path, 'the icon group does not extract as an icon file')
    images = [e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == 3]
    ids = {n.id for n in images[0].directory.entries} if images else set()
    group = next(e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == 14)
    data = group.directory.entries[0].directory.entries[0].data.struct
    raw = pe.get_data(data.OffsetToData, data.Size)
    for i in range(int.from_bytes(raw[4:6], 'little')):
        nid = int.from_bytes(raw[6 + 14 * i + 12: 6 + 14 * i + 14], 'little')
        if nid not in ids:
            fail(path, f'icon {nid} of the group is missing')


for p in sys.argv[1:]:
    check(p)
print('ok')
