#pragma once
// The uninstall deletion dialog's rules for rows of `uninstallDeletions`: what to delete (a
// file, a folder, a folder with its files: interface strings 143..145) and its path.
#include <string>
#include <vector>

#include "project/entry_dialog.h"
#include "project/project.h"

namespace bvq {

std::vector<std::string> DeletionKindItems();

struct DeletionFields {
  int Kind = 0;      // ComboBox1
  std::string Path;  // LabeledEdit1
};

// Add mode: a file, empty path; edit mode: the row at the place (a kind that matches no item
// shows the first).
DeletionFields ShowDeletionEntry(const Project& project, const EntryPlace& place);

// Label of the path field: interface string 104 for a file, 105 for the folder kinds.
const std::string& DeletionPathLabel(int kind);

// OK: an empty path is refused with the focus on it; the path is cleaned of wildcards and
// made an install path.
EntryOutcome ApplyDeletionEntry(Project& project, const EntryPlace& place, const DeletionFields& fields);

}  // namespace bvq
