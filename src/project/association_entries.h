#pragma once
// The file-association dialog (add only): an extension, the program that opens it, its
// parameters, a description and an icon become two to four registry value rows appended to
// `registryValues`.
#include <string>

#include "project/entry_dialog.h"
#include "project/project.h"

namespace bvq {

struct AssociationFields {
  std::string Extension;                // LabeledEdit1, with or without a leading "."
  std::string Program;                  // LabeledEdit2, stored as typed or picked
  std::string Parameters = "\"%1\"";    // LabeledEdit3
  std::string Description;              // LabeledEdit4
  std::string IconFile;                 // LabeledEdit5, stored as typed or picked
  std::string IconIndex = "0";          // Edit1, as its text stands
};

// OK: an empty extension, then an empty program, is refused with the focus on it. Otherwise
// appends, under HKEY_CLASSES_ROOT with the default value, type REG_SZ and yes in both last
// columns: "." + E -> E + "file"; E + "file\shell\open\command" -> program + " " + parameters;
// E + "file" -> description (when not empty); E + "file\DefaultIcon" -> icon + "," + index
// (when the icon is not empty). Marks the project modified (the menu action marks it also
// when the dialog is cancelled).
EntryOutcome ApplyAssociation(Project& project, const AssociationFields& fields);

}  // namespace bvq
