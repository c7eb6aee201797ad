#include "setup_build/work_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "setup_build/binary_file.h"

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

namespace {

// Removes entry `name` of the folder open as `dirfd`: a folder with everything in it, anything
// else (links included) as the entry itself. Folders are opened with O_NOFOLLOW, so a link
// that replaces a folder is removed without touching its target.
void RemoveEntryAt(int parent, const char* name) {
  if (unlinkat(parent, name, 0) == 0 || errno == ENOENT) return;
  const int fd = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  DIR* dir = fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return;
  }
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) names.push_back(entry->d_name);
  }
  for (const std::string& child : names) RemoveEntryAt(dirfd(dir), child.c_str());
  closedir(dir);
  unlinkat(parent, name, AT_REMOVEDIR);
}

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

void RemoveWorkFiles(const std::string& workFolder) {
  const std::string folder = WithSlash(workFolder);
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  for (int n = kWorkInfo; n >= kWorkPart; --n) unlinkat(fd, WorkFileName(n).c_str(), 0);
  RemoveEntryAt(fd, "Pack");
  ::close(fd);
}

std::string MakePrivateWorkFolder(const std::string& workFolder) {
  std::string name = WithSlash(workFolder) + "build-XXXXXX";
  if (!mkdtemp(name.data())) throw FileError("cannot create a work folder in " + workFolder + ": " + std::strerror(errno));
  return name + "/";
}

void RemovePrivateWorkFolder(const std::string& folder) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (path.empty()) return;
  const std::size_t slash = path.rfind('/');
  const std::string parent = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  RemoveEntryAt(fd, path.substr(slash == std::string::npos ? 0 : slash + 1).c_str());
  ::close(fd);
}

}  // namespace bvq
