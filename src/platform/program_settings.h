#pragma once
// The program's own settings (language, working folder, window bounds, column widths) as read
// from and written to the settings store.
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/settings_store.h"

namespace bvq {

struct WindowBounds {
  int width = 0, height = 0, left = 0, top = 0;
};

struct ProgramSettings {
  std::string language;         // "Language": interface language name
  std::string tempDir;          // "TempDir": working folder as stored
  bool openLastProject = false; // "OpenLastProject"
  std::string signCommand;      // "SignCommand": signs the uninstaller and setup ("" = none)
  bool isMaximized = false;     // "IsMaximized"
  std::optional<WindowBounds> bounds;  // only when all four values exist
  // "LV<i>_<j>": width of column j of ListView<i> (i = 1..11), only the stored ones.
  std::map<std::pair<int, int>, int> columnWidths;
};

// Reads the values; absent ones keep their defaults.
ProgramSettings ReadProgramSettings(const SettingsStore& store);
// Writes what the main window writes when it closes: "Language", every column width,
// "IsMaximized", and the bounds only when not maximised (stored bounds stay otherwise).
void WriteClosingSettings(SettingsStore& store, const ProgramSettings& settings);

// The interface language to use for a stored "Language" value: the part before " (", and
// "English" when that is empty or its file ProgramFolder/Language/Interface/<name>.lng is missing.
std::string ResolveInterfaceLanguage(const std::string& stored);

// Start-up: reads "Language" and "TempDir" (writing the default back when empty), prepares
// the working folder and sets WorkFolder(). Fails when no usable working folder could be
// prepared. `settings` receives everything read.
Status StartProgram(SettingsStore& store, ProgramSettings& settings);

}  // namespace bvq
