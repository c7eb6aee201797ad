#include "project/project_paths.h"

#include <sys/stat.h>

#include "util/code_page.h"
#include "util/files.h"
#include "util/paths.h"

namespace bvq {

namespace {

std::string Resolve(const Project& project, std::string_view path) {
  std::string native = NativePath(ExpandCurrentPath(path));
  if (native.empty() || native.front() == '/' || project.filePath.empty()) return native;
  return ExtractFilePath(NativePath(project.filePath)) + native;
}

// A file or a folder, with one look at the disk.
bool Exists(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode));
}

}  // namespace

ProjectPathReadings ReadProjectPath(const Project& project, std::string_view storedPath) {
  ProjectPathReadings readings{Resolve(project, AnsiToUtf8(storedPath)), Resolve(project, storedPath)};
  if (readings.raw == readings.converted) readings.raw.clear();
  return readings;
}

std::string ResolveProjectPath(const Project& project, std::string_view storedPath) {
  ProjectPathReadings readings = ReadProjectPath(project, storedPath);
  if (readings.raw.empty() || Exists(readings.converted) || !Exists(readings.raw)) return readings.converted;
  return readings.raw;
}

bool ProjectFileExists(const Project& project, std::string_view storedPath) {
  if (storedPath.empty()) return false;
  return FileExists(ResolveProjectPath(project, storedPath));
}

}  // namespace bvq
