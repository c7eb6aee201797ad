#pragma once
// The INI dialog's rules for rows of `iniEntries` (file, section, key, value, overwrite,
// uninstall) and its import of whole INI files.
#include <string>
#include <vector>

#include "project/entry_dialog.h"
#include "project/project.h"

namespace bvq {

struct IniFields {
  std::string File;     // LabeledEdit3
  std::string Section;  // LabeledEdit1
  std::string Key;      // LabeledEdit2
  std::string Value;    // LabeledEdit4
  bool Overwrite = true;         // CheckBox1
  bool Uninstall = true;         // CheckBox2
  bool UninstallEnabled = true;  // CheckBox2 is enabled only with an uninstaller
  bool ImportVisible = true;     // the import button is hidden in edit mode
};

IniFields ShowIniEntry(const Project& project, const EntryPlace& place);

// OK: file, section and key are mandatory, checked in this order. The file is cleaned of
// wildcards and made an install path; the rest is stored as typed.
EntryOutcome ApplyIniEntry(Project& project, const EntryPlace& place, const IniFields& fields);

struct IniFilesImport {
  std::size_t RowsAdded = 0;
  std::vector<std::string> Unreadable;  // files that could not be read (nothing taken from them)
};

// The import button: every line "[section]" sets the section, which carries over from one
// file to the next; every other line holding "=" becomes a row with the key before the first
// "=" and the value after it, neither trimmed; other lines are skipped. The row's file is the
// dialog's file field as typed, or "%InstallPath%\" + the picked file's name when the field is
// empty. Marks the project modified.
IniFilesImport ImportIniFiles(Project& project, const std::vector<std::string>& files, const IniFields& fields);

}  // namespace bvq
