#include "build/work_files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace bvq {
namespace fs = std::filesystem;

namespace {
std::string WorkFileName(int n) {
  switch (n) {
    case kWorkInfo: return "Info.tmp";
    case kWorkLicense: return "License.tmp";
    case kWorkReadme: return "Readme.tmp";
    case kWorkData: return "Data.tmp";
    case kWorkUninstall: return "Uninst.tmp";
    case kWorkComp: return "Comp.tmp";
    case kWorkPart: return "Part.tmp";
    default: break;
  }
  char name[32];
  std::snprintf(name, sizeof name, "Pack/%04d.tmp", n < 0 ? 0 : n);
  return name;
}
}  // namespace

std::string WorkFilePath(const std::string& workFolder, int n) {
  std::string folder = workFolder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  std::string path = folder + WorkFileName(n);
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  return path;
}

void RemoveWorkFiles(const std::string& workFolder) {
  std::string folder = workFolder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  std::error_code ec;
  for (int n = kWorkInfo; n >= kWorkPart; --n) fs::remove(folder + WorkFileName(n), ec);

  // Every file below Pack/; after each file its folder goes too when it is empty now.
  const fs::path pack = folder + "Pack";
  std::vector<fs::path> files;
  for (fs::recursive_directory_iterator it(pack, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_directory(ec)) files.push_back(it->path());
  }
  for (const fs::path& file : files) {
    fs::remove(file, ec);
    for (fs::path dir = file.parent_path(); dir.string().size() >= pack.string().size();
         dir = dir.parent_path()) {
      if (!fs::remove(dir, ec)) break;  // not empty (or gone): stop climbing
      if (dir == pack) break;
    }
  }
}

}  // namespace bvq
