#!/usr/bin/python3
"""Prints what pefile reads from a PE file, one fact per line, for the resource editor tests.

Usage: pe_facts.py FILE [DEBUG_ENTRIES]
Lines:
  size N
  checksum STORED GENERATED
  warnings N
  warning TEXT                           (each of pefile's warnings)
  image SIZE_OF_IMAGE SIZE_OF_INITIALIZED_DATA SYMBOL_TABLE
  section NAME VA VSIZE PTR RAW MD5      (MD5 of the section's first VSIZE raw bytes)
  dir INDEX VA SIZE
  res TYPE NAME LANG SIZE MD5 OFFSET    (names as text, numbers in decimal; OFFSET in the file)
  group NAME LANG ID,ID,...              (the RT_ICON ids an icon group lists)
  debug INDEX ADDRESS POINTER SIZE MD5   (DEBUG_ENTRIES raw entries read at the debug directory;
                                          MD5 of SIZE bytes at POINTER)
  overlay OFFSET MD5
"""
import hashlib
import struct
import sys

import pefile


def md5(data):
    return hashlib.md5(data).hexdigest()


def main():
    path = sys.argv[1]
    pe = pefile.PE(path)
    data = pe.__data__
    print('size', len(data))
    print('checksum', pe.OPTIONAL_HEADER.CheckSum, pe.generate_checksum())
    # pefile's byte-frequency heuristic fires on large icons of uniform alpha; it is no fault.
    warnings = [w for w in pe.get_warnings() if 'of the file\'s contents' not in w]
    print('warnings', len(warnings))
    for w in warnings:
        print('warning', w.replace('\n', ' '))
    print('image', pe.OPTIONAL_HEADER.SizeOfImage, pe.OPTIONAL_HEADER.SizeOfInitializedData,
          pe.FILE_HEADER.PointerToSymbolTable)
    for s in pe.sections:
        name = s.Name.rstrip(b'\0').decode('latin-1')
        used = min(s.Misc_VirtualSize or s.SizeOfRawData, s.SizeOfRawData)
        raw = data[s.PointerToRawData:s.PointerToRawData + used]
        print('section', name, s.VirtualAddress, s.Misc_VirtualSize, s.PointerToRawData, s.SizeOfRawData, md5(raw))
    for i, d in enumerate(pe.OPTIONAL_HEADER.DATA_DIRECTORY):
        print('dir', i, d.VirtualAddress, d.Size)
    if hasattr(pe, 'DIRECTORY_ENTRY_RESOURCE'):
        for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
            tname = str(t.name) if t.name is not None else str(t.id)
            for n in t.directory.entries:
                nname = str(n.name) if n.name is not None else str(n.id)
                for lang in n.directory.entries:
                    e = lang.data.struct
                    blob = pe.get_data(e.OffsetToData, e.Size)
                    print('res', tname, nname, lang.id, e.Size, md5(blob), pe.get_offset_from_rva(e.OffsetToData))
                    if t.id == 14:
                        count = struct.unpack_from('<H', blob, 4)[0]
                        ids = [struct.unpack_from('<H', blob, 6 + 14 * k + 12)[0] for k in range(count)]
                        print('group', nname, lang.id, ','.join(str(x) for x in ids))
    if len(sys.argv) > 2:
        d = pe.OPTIONAL_HEADER.DATA_DIRECTORY[6]
        off = pe.get_offset_from_rva(d.VirtualAddress)
        for i in range(int(sys.argv[2])):
            fields = struct.unpack_from('<IIHHIIII', data, off + 28 * i)
            print('debug', i, fields[6], fields[7], fields[5], md5(data[fields[7]:fields[7] + fields[5]]))
    overlay = pe.get_overlay_data_start_offset()
    if overlay is not None:
        print('overlay', overlay, md5(data[overlay:]))


main()
