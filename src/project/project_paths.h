#pragma once
// Opening a file that a project names: the stored text keeps what the author typed; the
// file on this system is found by expanding "%CURRENT_PATH%" to the program folder, reading
// "\" as "/", and resolving a relative path against the project file's folder.
#include <string>
#include <string_view>

#include "project/project.h"

namespace bvq {

// The two paths on this system a stored path may name: its text converted from the project's
// code page to UTF-8 (the usual one) and, when it differs, its bytes as stored (a name written
// by a program that did not convert); `raw` is empty when both are the same.
struct ProjectPathReadings {
  std::string converted;
  std::string raw;
};
ProjectPathReadings ReadProjectPath(const Project& project, std::string_view storedPath);

// The path on this system of a file named in the project: the converted reading, unless only
// the stored bytes name something that exists.
std::string ResolveProjectPath(const Project& project, std::string_view storedPath);
// True when that path names an existing regular file.
bool ProjectFileExists(const Project& project, std::string_view storedPath);

}  // namespace bvq
