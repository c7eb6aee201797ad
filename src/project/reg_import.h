#pragma once
// Reading registry-editor export files (".reg") into rows of the registry value list
// (`registryValues`) or of the uninstaller's registry deletion list
// (`uninstallRegistryDeletions`).
#include <cstddef>
#include <string>
#include <string_view>

#include "project/project.h"

namespace bvq {

// Which list the rows are made for.
enum class RegImportTarget {
  Values,     // root, subkey, value name, type, data, overwrite, uninstall
  Deletions,  // root, subkey, value name
};

struct RegImportOptions {
  RegImportTarget Target = RegImportTarget::Values;
  // Overwrite and uninstall cells given to every value row (the yes/no of the dialog's
  // check boxes as they stand when the import runs).
  std::string OverwriteCell;
  std::string UninstallCell;
};

enum class RegImportStatus {
  Complete,     // every line was read
  BadDword,     // a "dword:" value could not be converted; rows before it were kept
  Unreadable,   // the file could not be opened or read; nothing was added
};

struct RegImportResult {
  RegImportStatus Status = RegImportStatus::Complete;
  std::size_t RowsAdded = 0;
  int StopLine = 0;  // 1-based line of the bad "dword:" value (BadDword only)
};

// Imports the bytes of a .reg file into `list`. Text whose first line is "REGEDIT4" (any case)
// is read as it stands; anything else is taken as UTF-16 after a two-byte byte-order mark
// (version 5 exports) and converted to the ANSI code page first. The first line is a header
// and is never parsed.
RegImportResult ImportRegText(std::string_view bytes, EntryList& list, const RegImportOptions& options);

// Reads `file` and imports it as ImportRegText does.
RegImportResult ImportRegFile(const std::string& file, EntryList& list, const RegImportOptions& options);

}  // namespace bvq
