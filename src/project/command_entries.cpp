#include "project/command_entries.h"

#include <algorithm>

#include "project/interface_strings.h"
#include "project/interface_text_ids.h"

namespace bvq {
namespace {

std::string ItemAt(const std::vector<std::string>& items, int index) {
  return items[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(items.size()) - 1))];
}

}  // namespace

EntryList& CommandEntries(Project& project, CommandList which) {
  return which == CommandList::Install ? project.installCommands : project.uninstallCommands;
}

const EntryList& CommandEntries(const Project& project, CommandList which) {
  return which == CommandList::Install ? project.installCommands : project.uninstallCommands;
}

std::vector<std::string> CommandTypeItems() {
  return {InterfaceString(kTextApplication), InterfaceString(kTextShellExecute)};
}

std::vector<std::string> CommandWindowItems() { return {"Normal", "Maximize", "Minimize", "Hide"}; }

std::vector<std::string> CommandWhenItems(CommandList which) {
  return which == CommandList::Install
             ? std::vector<std::string>{InterfaceString(kTextBeforeUnpacking), InterfaceString(kTextAfterUnpacking)}
             : std::vector<std::string>{InterfaceString(kTextBeforeUninstalling),
                                        InterfaceString(kTextAfterUninstalling)};
}

CommandFields ShowCommandEntry(const Project& project, CommandList which, const EntryPlace& place) {
  CommandFields f;
  const EntryRow* edited = EditedRow(CommandEntries(project, which), place);
  if (edited == nullptr) return f;
  const EntryRow& row = *edited;
  f.Type = FindItem(CommandTypeItems(), row.Caption, 0);
  f.Command = row.Cell(1);
  f.Parameters = row.Cell(2);
  f.Window = FindItem(CommandWindowItems(), row.Cell(3), 0);
  f.When = FindItem(CommandWhenItems(which), row.Cell(4), 0);
  f.Wait = IsYesCell(row.Cell(5));
  return f;
}

EntryOutcome ApplyCommandEntry(Project& project, CommandList which, const EntryPlace& place,
                               const CommandFields& fields) {
  EntryRow row{ItemAt(CommandTypeItems(), fields.Type),
               {fields.Command, fields.Parameters, ItemAt(CommandWindowItems(), fields.Window),
                ItemAt(CommandWhenItems(which), fields.When), YesNoCell(fields.Wait)}};
  return WriteEntryRows(project, CommandEntries(project, which), place, {std::move(row)});
}

}  // namespace bvq
