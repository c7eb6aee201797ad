#include "project/project_paths.h"

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

bool Exists(const std::string& path) { return FileExists(path) || DirectoryExists(path); }

}  // namespace

std::string ResolveProjectPath(const Project& project, std::string_view storedPath) {
  // Stored paths are text in the project's code page; names on disk are UTF-8. A name that
  // only exists byte for byte as stored (written by a program that did not convert) is
  // still found.
  std::string converted = Resolve(project, AnsiToUtf8(storedPath));
  if (Exists(converted)) return converted;
  std::string raw = Resolve(project, storedPath);
  return Exists(raw) ? raw : converted;
}

bool ProjectFileExists(const Project& project, std::string_view storedPath) {
  if (storedPath.empty()) return false;
  return FileExists(ResolveProjectPath(project, storedPath));
}

}  // namespace bvq
