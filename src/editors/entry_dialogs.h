#pragma once
// The entry dialogs of the main window's lists, the association dialog, the folder import,
// the project-file picker and the reaction to dropped files. Each dialog collects its fields,
// calls its core rule on OK and shows what the rule returns.
#include <QStringList>
#include <functional>
#include <memory>

#include "editors/entry_dialog_base.h"
#include "project/file_entries.h"
#include "project/project.h"

class QWidget;

namespace bvq {

// The dialog of list `listNumber` (1..11) with the caption of `mode` (interface string 82 or
// 85); edit mode shows and overwrites row `row`. Filled and focused, not shown. The command
// dialog serves installCommands or uninstallCommands by the list number.
std::unique_ptr<EntryDialog> CreateEntryDialog(QWidget* parent, Project& project, FileHandOver& handOver,
                                               int listNumber, EntryMode mode, int row);
// Creates, shows modally and destroys it; true when OK wrote rows.
bool ExecEntryDialog(QWidget* parent, Project& project, FileHandOver& handOver, int listNumber, EntryMode mode,
                     int row);

// The file association dialog (TAddExpForm, caption interface string 23, add only).
std::unique_ptr<EntryDialog> CreateAssociationDialog(QWidget* parent, Project& project);
// The menu action ActRegFileExp: shows it modally, then marks the project modified also when
// it was cancelled. `showRegistryPage` (may be empty) brings the registry page forward
// before the rows are added.
void RunAssociationAction(QWidget* parent, Project& project, const std::function<void()>& showRegistryPage = {});

// The folder import dialog (TAddFilesListForm) over the hand-over's import lists.
std::unique_ptr<QDialog> CreateFolderImportDialog(QWidget* parent, Project& project, FileHandOver& handOver);
// Shows it modally; true when OK added rows. The caller marks the project modified.
bool ExecFolderImport(QWidget* parent, Project& project, FileHandOver& handOver);

// The project-file picker (TSelectFileForm): the destinations of the file list. Cancel gives
// an empty pick.
std::unique_ptr<QDialog> CreateProjectFilePicker(QWidget* parent, const Project& project, bool allowMultipleSelection);
ProjectFilePick ReadProjectFilePick(QDialog* picker);
ProjectFilePick ExecProjectFilePicker(QWidget* parent, const Project& project, bool allowMultipleSelection);

// Files and folders dropped on the main window (names on disk, in drop order): the file entry
// dialog with presets, or the folder import dialog; afterwards a folder import marks the
// project modified. The caller shows the file page first and the position of the file list after.
void HandleDroppedPaths(QWidget* parent, Project& project, FileHandOver& handOver, const QStringList& paths);

// Where the imports of the registry and INI dialogs report "Load..." and "Load OK" (panel 1
// of the main window's status bar); an empty text clears it. Unset: nothing is shown.
void SetLoadStatusHandler(std::function<void(const QString&)> handler);

}  // namespace bvq
