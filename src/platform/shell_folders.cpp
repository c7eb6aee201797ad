#include "platform/shell_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "util/files.h"
#include "util/ini_file.h"
#include "util/paths.h"
#include "util/program_values.h"
#include "util/strings.h"

namespace bvq {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return IncludeTrailingSeparator(home);
  if (passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return IncludeTrailingSeparator(pw->pw_dir);
  return "/";
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs ("$HOME/..." or an absolute path), or "".
static std::string XdgDocumentsDir() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base = (config && config[0] == '/') ? IncludeTrailingSeparator(config) : HomeFolder() + ".config/";
  auto bytes = ReadFileBytes(base + "user-dirs.dirs");
  if (!bytes) return {};
  for (const std::string& raw : SplitText("\n", *bytes)) {
    std::string line = TrimBlanks(raw);
    if (line.rfind("XDG_DOCUMENTS_DIR=", 0) != 0) continue;
    std::string value = line.substr(18);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = ExcludeTrailingSeparator(HomeFolder()) + value.substr(5);
    if (!value.empty() && value.front() == '/') return value;
  }
  return {};
}

std::string DocumentsFolder() {
  std::string xdg = XdgDocumentsDir();
  if (!xdg.empty() && DirectoryExists(xdg)) return IncludeTrailingSeparator(xdg);
  std::string docs = HomeFolder() + "Documents";
  if (DirectoryExists(docs)) return docs + "/";
  return HomeFolder();
}

std::string UserDataFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string base = (data && data[0] == '/') ? IncludeTrailingSeparator(data) : HomeFolder() + ".local/share/";
  std::string folder = base + "Belvandorithquessal/";
  if (ForceDirectories(folder)) return folder;
  return ProgramFolder();
}

std::string TempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  if (tmp && tmp[0] == '/' && DirectoryExists(tmp)) return IncludeTrailingSeparator(tmp);
  return "/tmp/";
}

std::string DefaultSetupFile() { return DocumentsFolder() + "Setup.exe"; }

std::string UniqueNumberedFile(std::string_view prefix, std::string_view extension) {
  return UniqueNumberedFileIn(UserDataFolder(), prefix, extension);
}

}  // namespace bvq
