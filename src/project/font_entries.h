#pragma once
// The font dialog's rules for rows of the font list (`fonts`): the face name and the font file
// (normally the destination of a project file).
#include <string>

#include "project/entry_dialog.h"
#include "project/project.h"

namespace bvq {

struct FontFields {
  std::string Name;  // LabeledEdit1
  std::string File;  // LabeledEdit2, stored as it is
};

FontFields ShowFontEntry(const Project& project, const EntryPlace& place);

// After the project-file picker returned `picked` (empty when cancelled): the file field takes
// it and, when the name field is empty, the name comes from the font the first file entry
// with that destination installs, when its source exists here and is a font.
void PickFontFile(const Project& project, FontFields& fields, const std::string& picked);

// OK: an empty name, then an empty file, is refused with the focus on it.
EntryOutcome ApplyFontEntry(Project& project, const EntryPlace& place, const FontFields& fields);

}  // namespace bvq
