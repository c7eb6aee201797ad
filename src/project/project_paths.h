#pragma once
// Opening a file that a project names: the stored text keeps what the author typed; the
// file on this system is found by expanding "%CURRENT_PATH%" to the program folder, reading
// "\" as "/", and resolving a relative path against the project file's folder.
#include <string>
#include <string_view>

#include "project/project.h"

namespace bvq {

// The path on this system of a file named in the project.
std::string ResolveProjectPath(const Project& project, std::string_view storedPath);
// True when that path names an existing regular file.
bool ProjectFileExists(const Project& project, std::string_view storedPath);

}  // namespace bvq
