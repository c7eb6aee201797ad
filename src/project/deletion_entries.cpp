#include "project/deletion_entries.h"

#include <algorithm>

#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "util/paths.h"

namespace bvq {

std::vector<std::string> DeletionKindItems() {
  return {InterfaceString(kTextDeleteFile), InterfaceString(kTextDeleteFolder),
          InterfaceString(kTextDeleteFolderAndFiles)};
}

DeletionFields ShowDeletionEntry(const Project& project, const EntryPlace& place) {
  DeletionFields f;
  if (const EntryRow* row = EditedRow(project.uninstallDeletions, place)) {
    f.Kind = FindItem(DeletionKindItems(), row->Caption, 0);
    f.Path = row->Cell(1);
  }
  return f;
}

const std::string& DeletionPathLabel(int kind) { return InterfaceString(kind == 0 ? kTextFilePath : kTextFolderPath); }

EntryOutcome ApplyDeletionEntry(Project& project, const EntryPlace& place, const DeletionFields& fields) {
  if (fields.Path.empty()) return EntryOutcome::FocusOn("LabeledEdit1");
  EntryRow row{InterfaceString(kTextDeleteFile + std::clamp(fields.Kind, 0, 2)),
               {MakeInstallPath(RemoveWildcards(fields.Path))}};
  return WriteEntryRows(project, project.uninstallDeletions, place, {std::move(row)});
}

}  // namespace bvq
