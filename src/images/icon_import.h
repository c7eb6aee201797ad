#pragma once
// Turning a picked icon file, executable or library into an .ico file for the installer or
// uninstaller icon setting.
#include <optional>
#include <string>

namespace bvq::images {

struct ImportedIcon {
  enum class Kind {
    Kept,         // an .ico file: `path` is the picked text itself
    Extracted,    // an icon group was saved as the new .ico file `path`
    NoIcons,      // the file holds no icon group: warn with interface strings 16 and 17
    ChooseGroup,  // several groups (`groupCount`): ask which one, then call again with it
    Failed,       // the group could not be saved: `error` says why; nothing was written
  };
  Kind kind = Kind::Failed;
  std::string path;
  int groupCount = 0;
  std::string error;
};

// `ImportIcon`(picked file): a name ending in ".ico" (any letter case) is kept. Otherwise the
// icon groups of the file (after "%CURRENT_PATH%" is expanded) are counted: with none the
// result is NoIcons; with one, or with several and a chosen `groupIndex` (0-based), that
// group is saved with all its images as the next free "Icons/Import/Icon_NNN.ico" under the
// user's data folder (`userDataFolder`, empty for the platform's). With several groups and no
// index the result is ChooseGroup. The picked file is only read.
ImportedIcon ImportIcon(const std::string& picked, std::optional<int> groupIndex = std::nullopt,
                        const std::string& userDataFolder = {});

}  // namespace bvq::images
