#include "project/shortcut_entries.h"

#include <algorithm>
#include <charconv>
#include <tuple>

#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "util/paths.h"

namespace bvq {
namespace {

constexpr int kFirstPlaceString = kTextPlaceDesktop;  // the five places, in item order

std::string WithBackslash(const std::string& folder) {
  return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

}  // namespace

std::vector<std::string> ShortcutPlaceItems() {
  std::vector<std::string> items;
  for (int i = 0; i < kShortcutPlaceCount; ++i) items.push_back(InterfaceString(kFirstPlaceString + i));
  return items;
}

std::pair<std::string, int> SplitIconCell(const std::string& cell) {
  const std::size_t comma = cell.rfind(',');
  if (comma == std::string::npos) return {cell, 0};
  int index = 0;
  const char* first = cell.data() + comma + 1;
  const char* last = cell.data() + cell.size();
  if (std::from_chars(first, last, index).ec != std::errc{}) index = 0;
  return {cell.substr(0, comma), std::clamp(index, 0, kMaxShortcutIconIndex)};
}

ShortcutFields ShowShortcutEntry(const Project& project, const EntryPlace& place) {
  ShortcutFields f;
  const EntryRow* edited = EditedRow(project.shortcuts, place);
  if (edited == nullptr) return f;
  const EntryRow& row = *edited;
  f.Place = FindItem(ShortcutPlaceItems(), row.Caption, 0);
  f.Name = row.Cell(1);
  f.Target = row.Cell(2);
  f.Parameters = row.Cell(3);
  f.WorkingFolder = row.Cell(4);
  f.Comment = row.Cell(5);
  if (!row.Cell(6).empty()) std::tie(f.IconFile, f.IconIndex) = SplitIconCell(row.Cell(6));
  return f;
}

EntryOutcome ApplyShortcutEntry(Project& project, const EntryPlace& place, const ShortcutFields& fields) {
  if (fields.Name.empty()) return EntryOutcome::FocusOn("LabeledEdit1");
  if (fields.Target.empty()) return EntryOutcome::FocusOn("LabeledEdit2");
  const int placeIndex = std::clamp(fields.Place, 0, kShortcutPlaceCount - 1);
  std::string icon;
  if (!fields.IconFile.empty())
    icon = MakeInstallPath(RemoveWildcards(fields.IconFile)) + "," +
           std::to_string(std::clamp(fields.IconIndex, 0, kMaxShortcutIconIndex));
  EntryRow row{InterfaceString(kFirstPlaceString + placeIndex),
               {RemoveWildcards(fields.Name), MakeInstallPath(RemoveWildcards(fields.Target)), fields.Parameters,
                fields.WorkingFolder, fields.Comment, icon}};
  return WriteEntryRows(project, project.shortcuts, place, {std::move(row)});
}

void AddUninstallerShortcut(Project& project) {
  project.shortcuts.AppendCells({InterfaceString(kTextPlaceStartMenu), InterfaceString(kTextUninstallShortcutName),
                                 project.uninstallerFile, "", "", "Uninstall %ProductName% %ProductVersion%", ""});
  project.MarkModified();
}

std::string ShortcutNameHint(const Project& project, int place, const std::string& name) {
  if (name.empty()) return "";
  std::string folder;
  switch (place) {
    case 0: folder = "%Desktop%"; break;
    case 1: folder = "%ProgramsDir%\\" + project.programGroup; break;
    case 2: folder = "%StartMenu%"; break;
    case 3: folder = "%QuickLaunch%"; break;
    default: return name;
  }
  return WithBackslash(folder) + name;
}

std::string ShortcutTargetHint(const Project& project, const std::string& target) {
  if (target.empty()) return "";
  if (target.front() == '%') return target;
  return WithBackslash(project.installFolderPath) + target;
}

}  // namespace bvq
