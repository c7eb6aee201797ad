#pragma once
// The registry dialogs' rules: value rows of `registryValues` (root, subkey, value name, type,
// data, overwrite, uninstall) and deletion rows of `uninstallRegistryDeletions` (root, subkey,
// value name), and their import of whole .reg files.
#include <string>
#include <vector>

#include "project/entry_dialog.h"
#include "project/project.h"
#include "project/reg_import.h"

namespace bvq {

struct RegistryValueFields {
  int RootKey = 0;        // ComboBox1, index into kRegistryRootNames
  std::string SubKey;     // LabeledEdit1
  std::string ValueName;  // LabeledEdit2
  int Type = 0;           // ComboBox2, index into kRegistryValueTypes
  std::string Data;       // LabeledEdit3, stored as typed
  bool Overwrite = true;  // CheckBox1
  bool Uninstall = true;  // CheckBox2
  bool UninstallEnabled = true;  // CheckBox2 is enabled only with an uninstaller
  bool ImportVisible = true;     // the import button is hidden in edit mode
};

struct RegistryDeletionFields {
  int RootKey = 0;        // ComboBox1
  std::string SubKey;     // LabeledEdit1
  std::string ValueName;  // LabeledEdit2
};

// Add mode: the defaults, with "remove on uninstall" cleared when the project has no
// uninstaller; edit mode: the row at the place (a root or type cell that matches no item
// leaves the item at its default).
RegistryValueFields ShowRegistryValueEntry(const Project& project, const EntryPlace& place);
RegistryDeletionFields ShowRegistryDeletionEntry(const Project& project, const EntryPlace& place);

// OK: an empty subkey is refused with the focus on it.
EntryOutcome ApplyRegistryValueEntry(Project& project, const EntryPlace& place, const RegistryValueFields& fields);
EntryOutcome ApplyRegistryDeletionEntry(Project& project, const EntryPlace& place,
                                        const RegistryDeletionFields& fields);

// What an import of several .reg files did.
struct RegFilesImport {
  std::size_t RowsAdded = 0;
  // One line per file that stopped early or could not be read (file name and reason);
  // empty when every file was read to its end.
  std::vector<std::string> Problems;
};

// The import button: each file in order into `registryValues` (value rows get the overwrite and
// uninstall cells of `fields` as they stand) or `uninstallRegistryDeletions`. Rows read before
// a problem stay. Marks the project modified.
RegFilesImport ImportRegistryValueFiles(Project& project, const std::vector<std::string>& files,
                                        const RegistryValueFields& fields);
RegFilesImport ImportRegistryDeletionFiles(Project& project, const std::vector<std::string>& files);

}  // namespace bvq
