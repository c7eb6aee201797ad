#include "project/activex_entries.h"

#include "util/paths.h"
#include "util/strings.h"

namespace bvq {

ActiveXFields ShowActiveXEntry(const Project& project, const EntryPlace& place) {
  ActiveXFields f;
  f.UnregisterEnabled = project.makeUninstaller;
  if (const EntryRow* row = EditedRow(project.activeXFiles, place)) {
    f.File = row->Caption;
    f.Unregister = IsYesCell(row->Cell(1));
  } else if (!project.makeUninstaller) {
    f.Unregister = false;
  }
  return f;
}

std::string ActiveXPickedText(const std::vector<std::string>& picked) {
  std::string text;
  for (const std::string& path : picked) text += (text.empty() ? "" : "|") + path;
  return text;
}

EntryOutcome ApplyActiveXEntry(Project& project, const EntryPlace& place, const ActiveXFields& fields) {
  if (fields.File.empty()) return EntryOutcome::FocusOn("LabeledEdit1");
  std::vector<EntryRow> rows;
  if (place.Mode == EntryMode::Add && fields.File.find('|') != std::string::npos) {
    for (const std::string& part : SplitText("|", fields.File))
      if (!part.empty()) rows.push_back({part, {YesNoCell(fields.Unregister)}});  // "a||b": no empty row
  } else {
    rows.push_back({MakeInstallPath(RemoveWildcards(fields.File)), {YesNoCell(fields.Unregister)}});
  }
  if (rows.empty()) return EntryOutcome::FocusOn("LabeledEdit1");  // only separators typed
  return WriteEntryRows(project, project.activeXFiles, place, std::move(rows));
}

}  // namespace bvq
