#!/usr/bin/python3
# Prints what pefile reads from a PE file: the fixed file version, the version strings of
# table 040904e4, the stored and the recomputed checksum, and the icon group "MAINICON"
# (count and sizes of its images). One "key=value" per line.
import sys
import pefile

pe = pefile.PE(sys.argv[1])
fixed = pe.VS_FIXEDFILEINFO[0]
print("FileVersionMS=%d" % fixed.FileVersionMS)
print("FileVersionLS=%d" % fixed.FileVersionLS)
for info in getattr(pe, "FileInfo", []):
    for entry in info:
        if getattr(entry, "Key", b"") == b"StringFileInfo":
            for table in entry.StringTable:
                if table.LangID.lower() == b"040904e4":
                    for key, value in table.entries.items():
                        print("%s=%s" % (key.decode(), value.decode("utf-8", "replace")))
print("CheckSum=%d" % pe.OPTIONAL_HEADER.CheckSum)
print("ComputedCheckSum=%d" % pe.generate_checksum())
for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if rtype.id == pefile.RESOURCE_TYPE["RT_GROUP_ICON"]:
        for name in rtype.directory.entries:
            if name.name is not None and str(name.name) == "MAINICON":
                lang = name.directory.entries[0]
                data = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
                count = int.from_bytes(data[4:6], "little")
                print("MainIconCount=%d" % count)
                sizes = [int.from_bytes(data[6 + 14 * i + 8:6 + 14 * i + 12], "little") for i in range(count)]
                print("MainIconBytes=%s" % ",".join(map(str, sizes)))
