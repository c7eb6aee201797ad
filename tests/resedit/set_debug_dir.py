#!/usr/bin/python3
"""Points the debug directory of a test executable at the table in its ".dbgdir" section.

Usage: set_debug_dir.py FILE SIZE
The table gets three entries: the first describes bytes inside ".dbgdir" (before the resource
section), the second 32 bytes inside ".reloc" (after it), the third 16 bytes of the data
appended after the last section (file offset only, address 0). The directory's Size field is
set to SIZE (56 reads as two entries, 3 as three).
"""
import struct
import sys

import pefile

path, size = sys.argv[1], int(sys.argv[2])
pe = pefile.PE(path)
table = next(s for s in pe.sections if s.Name.rstrip(b'\0') == b'.dbgdir')
reloc = next(s for s in pe.sections if s.Name.rstrip(b'\0') == b'.reloc')
overlay = pe.get_overlay_data_start_offset()
entries = [
    (table.VirtualAddress + 84, table.PointerToRawData + 84, 16),
    (reloc.VirtualAddress + 16, reloc.PointerToRawData + 16, 32),
    (0, overlay + 8, 16),
]
data = b''.join(struct.pack('<IIHHIIII', 0, 0, 0, 0, 2, n, address, pointer) for address, pointer, n in entries)
pe.set_bytes_at_offset(table.PointerToRawData, data)
pe.OPTIONAL_HEADER.DATA_DIRECTORY[6].VirtualAddress = table.VirtualAddress
pe.OPTIONAL_HEADER.DATA_DIRECTORY[6].Size = size
pe.write(path)
