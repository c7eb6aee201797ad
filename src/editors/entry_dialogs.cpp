// The factory that opens the entry dialog of each list of the main window.
#include "editors/entry_dialogs.h"

#include "editors/dialog_factories.h"

namespace bvq {

std::unique_ptr<EntryDialog> CreateEntryDialog(QWidget* parent, Project& project, FileHandOver& handOver,
                                               int listNumber, EntryMode mode, int row) {
  const std::string& caption = EntryDialogCaption(mode);
  switch (listNumber) {
    case 1: return CreateShortcutDialog(parent, project, caption, row);
    case 2: return CreateRegistryValueDialog(parent, project, caption, row);
    case 3: return CreateFileEntryDialog(parent, project, handOver, caption, row);
    case 4: return CreateCommandDialog(parent, project, CommandList::Install, caption, row);
    case 5: return CreateIniDialog(parent, project, caption, row);
    case 6: return CreateCommandDialog(parent, project, CommandList::Uninstall, caption, row);
    case 7: return CreateDeletionDialog(parent, project, caption, row);
    case 8: return CreateActiveXDialog(parent, project, caption, row);
    case 9: return CreateRegistryDeletionDialog(parent, project, caption, row);
    case 10: return CreateVariableDialog(parent, project, caption, row);
    case 11: return CreateFontDialog(parent, project, caption, row);
    default: return nullptr;
  }
}

bool ExecEntryDialog(QWidget* parent, Project& project, FileHandOver& handOver, int listNumber, EntryMode mode,
                     int row) {
  std::unique_ptr<EntryDialog> dialog = CreateEntryDialog(parent, project, handOver, listNumber, mode, row);
  return dialog && dialog->exec() == QDialog::Accepted;
}

}  // namespace bvq
