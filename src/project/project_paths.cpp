#include "project/project_paths.h"

#include "util/files.h"
#include "util/paths.h"

namespace bvq {

std::string ResolveProjectPath(const Project& project, std::string_view storedPath) {
  std::string path = NativePath(ExpandCurrentPath(storedPath));
  if (path.empty() || path.front() == '/' || project.ProjectFileName.empty()) return path;
  return ExtractFilePath(NativePath(project.ProjectFileName)) + path;
}

bool ProjectFileExists(const Project& project, std::string_view storedPath) {
  if (storedPath.empty()) return false;
  return FileExists(ResolveProjectPath(project, storedPath));
}

}  // namespace bvq
