#pragma once
// Constructors of the entry dialogs, one file each, for the factory of entry_dialogs.
#include <memory>
#include <string>

#include "editors/entry_dialog_base.h"
#include "project/command_entries.h"
#include "project/file_entries.h"

namespace bvq {

std::unique_ptr<EntryDialog> CreateShortcutDialog(QWidget* parent, Project& project, const std::string& caption,
                                                  int row);
std::unique_ptr<EntryDialog> CreateRegistryValueDialog(QWidget* parent, Project& project, const std::string& caption,
                                                       int row);
std::unique_ptr<EntryDialog> CreateRegistryDeletionDialog(QWidget* parent, Project& project,
                                                          const std::string& caption, int row);
std::unique_ptr<EntryDialog> CreateFileEntryDialog(QWidget* parent, Project& project, FileHandOver& handOver,
                                                   const std::string& caption, int row);
std::unique_ptr<EntryDialog> CreateCommandDialog(QWidget* parent, Project& project, CommandList which,
                                                 const std::string& caption, int row);
std::unique_ptr<EntryDialog> CreateIniDialog(QWidget* parent, Project& project, const std::string& caption, int row);
std::unique_ptr<EntryDialog> CreateDeletionDialog(QWidget* parent, Project& project, const std::string& caption,
                                                  int row);
std::unique_ptr<EntryDialog> CreateActiveXDialog(QWidget* parent, Project& project, const std::string& caption,
                                                 int row);
std::unique_ptr<EntryDialog> CreateVariableDialog(QWidget* parent, Project& project, const std::string& caption,
                                                  int row);
std::unique_ptr<EntryDialog> CreateFontDialog(QWidget* parent, Project& project, const std::string& caption, int row);

}  // namespace bvq
