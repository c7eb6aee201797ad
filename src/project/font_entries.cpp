#include "project/font_entries.h"

#include "platform/fonts.h"
#include "project/project_paths.h"
#include "util/files.h"

namespace bvq {

FontFields ShowFontEntry(const Project& project, const EntryPlace& place) {
  FontFields f;
  if (const EntryRow* row = EditedRow(project.fonts, place)) {
    f.Name = row->Caption;
    f.File = row->Cell(1);
  }
  return f;
}

void PickFontFile(const Project& project, FontFields& fields, const std::string& picked) {
  if (picked.empty()) return;
  fields.File = picked;
  if (!fields.Name.empty()) return;
  for (const EntryRow& row : project.files.Rows) {
    if (row.Cell(1) != picked) continue;
    const std::string source = ResolveProjectPath(project, row.Caption);
    if (FileExists(source)) {
      std::string name = FontNameFromFile(source);
      if (!name.empty()) fields.Name = std::move(name);
    }
    return;
  }
}

EntryOutcome ApplyFontEntry(Project& project, const EntryPlace& place, const FontFields& fields) {
  if (fields.Name.empty()) return EntryOutcome::FocusOn("LabeledEdit1");
  if (fields.File.empty()) return EntryOutcome::FocusOn("LabeledEdit2");
  return WriteEntryRows(project, project.fonts, place, {EntryRow{fields.Name, {fields.File}}});
}

}  // namespace bvq
