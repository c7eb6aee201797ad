#pragma once
// The ActiveX dialog's rules for rows of `activeXFiles`: a file the installer registers and
// whether the uninstaller unregisters it.
#include <string>
#include <vector>

#include "project/entry_dialog.h"
#include "project/project.h"

namespace bvq {

struct ActiveXFields {
  std::string File;              // LabeledEdit1; several picked files joined with "|"
  bool Unregister = true;        // CheckBox1
  bool UnregisterEnabled = true;  // CheckBox1 is enabled only with an uninstaller
};

ActiveXFields ShowActiveXEntry(const Project& project, const EntryPlace& place);

// The file field after picking project files: one path as it is, several joined with "|".
std::string ActiveXPickedText(const std::vector<std::string>& picked);

// OK: an empty file is refused with the focus on it. Add mode splits the field at every "|"
// into one row per part (parts kept as they are); otherwise one row whose file is cleaned of
// wildcards and made an install path.
EntryOutcome ApplyActiveXEntry(Project& project, const EntryPlace& place, const ActiveXFields& fields);

}  // namespace bvq
