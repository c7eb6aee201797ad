#include "project/deletion_entries.h"

#include <algorithm>

#include "project/interface_strings.h"
#include "util/paths.h"

namespace bvq {

std::vector<std::string> DeletionKindItems() { return {InterfaceString(143), InterfaceString(144), InterfaceString(145)}; }

DeletionFields ShowDeletionEntry(const Project& project, const EntryPlace& place) {
  DeletionFields f;
  if (const EntryRow* row = EditedRow(project.uninstallDeletions, place)) {
    f.Kind = FindItem(DeletionKindItems(), row->Caption, 0);
    f.Path = row->Cell(1);
  }
  return f;
}

const std::string& DeletionPathLabel(int kind) { return InterfaceString(kind == 0 ? 104 : 105); }

EntryOutcome ApplyDeletionEntry(Project& project, const EntryPlace& place, const DeletionFields& fields) {
  if (fields.Path.empty()) return EntryOutcome::FocusOn("LabeledEdit1");
  EntryRow row{InterfaceString(143 + std::clamp(fields.Kind, 0, 2)), {MakeInstallPath(RemoveWildcards(fields.Path))}};
  return WriteEntryRows(project, project.uninstallDeletions, place, {std::move(row)});
}

}  // namespace bvq
