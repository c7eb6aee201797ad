#pragma once
// The shortcut dialog's rules for rows of `shortcuts` (place, name, target, parameters, working
// folder, comment, icon "file,index"), the hints it shows while the author types, and the
// ready-made uninstaller shortcut.
#include <string>
#include <utility>
#include <vector>

#include "project/entry_dialog.h"
#include "project/project.h"

namespace bvq {

// Places, in the order of the place box: desktop, program group, Start menu, Quick Launch,
// another path (interface strings 52..56).
inline constexpr int kShortcutPlaceCount = 5;
inline constexpr int kShortcutPlaceOtherPath = 4;
std::vector<std::string> ShortcutPlaceItems();

// The icon index is the spin control's position.
inline constexpr int kMaxShortcutIconIndex = 100;

struct ShortcutFields {
  int Place = 0;              // ComboBox1
  std::string Name;           // LabeledEdit1
  std::string Target;         // LabeledEdit2
  std::string Parameters;     // LabeledEdit4
  std::string WorkingFolder;  // LabeledEdit6
  std::string Comment;        // LabeledEdit5
  std::string IconFile;       // LabeledEdit3
  int IconIndex = 0;          // UpDown1
};

// Icon cell split at its last comma; a cell without a comma is a file with index 0.
std::pair<std::string, int> SplitIconCell(const std::string& cell);

// Add mode: place 0, all empty; edit mode: the row at the place.
ShortcutFields ShowShortcutEntry(const Project& project, const EntryPlace& place);

// OK: an empty name, then an empty target, is refused with the focus on it. Name, target and
// icon file lose their wildcards; target and icon file are made install paths.
EntryOutcome ApplyShortcutEntry(Project& project, const EntryPlace& place, const ShortcutFields& fields);

// Appends the uninstaller shortcut: Start menu, interface string 22, the uninstaller file name
// (uninstallerFile) as it stands, comment "Uninstall %ProductName% %ProductVersion%".
void AddUninstallerShortcut(Project& project);

// Tooltip of the name field: where the shortcut will be made.
std::string ShortcutNameHint(const Project& project, int place, const std::string& name);
// Tooltip of the target field: the target under the install folder path unless it starts with "%".
std::string ShortcutTargetHint(const Project& project, const std::string& target);

}  // namespace bvq
