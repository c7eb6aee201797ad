#pragma once
// Constructors of the dialogs that live in separate files, for the factory of entry_dialogs.
#include <memory>
#include <string>

#include "editors/entry_dialog_base.h"
#include "project/file_entries.h"

namespace bvq {

std::unique_ptr<EntryDialog> CreateFileEntryDialog(QWidget* parent, Project& project, FileHandOver& handOver,
                                                   const std::string& caption, int row);

}  // namespace bvq
