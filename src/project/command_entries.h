#pragma once
// The command dialog's rules for rows of `installCommands` (commands the installer runs) and
// `uninstallCommands` (commands the uninstaller runs): type, command, parameters, window, when,
// wait.
#include <string>
#include <vector>

#include "project/entry_dialog.h"
#include "project/project.h"

namespace bvq {

// Which list the dialog serves.
enum class CommandList { Install, Uninstall };

EntryList& CommandEntries(Project& project, CommandList which);
const EntryList& CommandEntries(const Project& project, CommandList which);

// Items of the three boxes: type (interface strings 47, 48), window (fixed, never
// translated), when (93, 94 for the installer; 109, 110 for the uninstaller).
std::vector<std::string> CommandTypeItems();
std::vector<std::string> CommandWindowItems();
std::vector<std::string> CommandWhenItems(CommandList which);

struct CommandFields {
  int Type = 0;            // ComboBox1
  std::string Command;     // LabeledEdit1, stored as typed
  std::string Parameters;  // LabeledEdit2
  int Window = 0;          // ComboBox2
  int When = 0;            // ComboBox3
  bool Wait = false;       // CheckBox1
};

// Add mode: the first item of every box; edit mode: the row at the place (a cell that matches
// no item leaves its box at the first item).
CommandFields ShowCommandEntry(const Project& project, CommandList which, const EntryPlace& place);

// OK: no field is mandatory.
EntryOutcome ApplyCommandEntry(Project& project, CommandList which, const EntryPlace& place,
                               const CommandFields& fields);

}  // namespace bvq
