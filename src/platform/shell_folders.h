#pragma once
// The user's special folders. All results end with "/".
#include <string>
#include <string_view>

namespace bvq {

// $HOME (from the environment, else the password database).
std::string HomeFolder();
// XDG_DOCUMENTS_DIR of user-dirs.dirs, else $HOME/Documents when it exists, else $HOME.
std::string DocumentsFolder();
// $XDG_DATA_HOME/Belvandorithquessal/ (default ~/.local/share/...), created with missing
// parents; the program folder when that fails.
std::string UserDataFolder();
// $TMPDIR when it names a folder, else /tmp.
std::string TempFolder();
// Documents folder + "Setup.exe".
std::string DefaultSetupFile();
// UserDataFolder() + prefix + number (at least three digits) + "." + extension, the first that
// does not exist; its folder is created.
std::string UniqueNumberedFile(std::string_view prefix, std::string_view extension);

}  // namespace bvq
