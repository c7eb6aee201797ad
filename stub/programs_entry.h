/* The entry of the installed-programs list that starts the uninstaller: written by the
 * installer, searched by the uninstaller for its log. */
#ifndef BVQ_STUB_PROGRAMS_ENTRY_H
#define BVQ_STUB_PROGRAMS_ENTRY_H

#include "installer.h"

/* The list's key; each entry is a subkey of it. */
#define PROGRAMS_LIST_KEY L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
/* The entry's values by which the uninstaller finds its log: its own path and the log's. */
#define PROGRAMS_ENTRY_UNINSTALLER L"DisplayIcon"
#define PROGRAMS_ENTRY_LOG L"UninstallLog"

/* Writes the entry named product (the machine's list when it can be written, else the user's)
 * and records it in the uninstall log. */
void write_programs_entry(Installer *in, const wchar_t *product, const wchar_t *uninstaller, const wchar_t *log_path);

#endif
