#pragma once
// Reading the slots of project files written by earlier versions of the program: which slots
// they did not carry yet or carried with another meaning, by the file's version number.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"
#include "project/project_context.h"

namespace bvq {

// The version number of a file header's version line: the first "." removed, everything
// from the first " beta" removed, read as a decimal integer ("5.04" -> 504,
// "4.20 beta 3" -> 420); nullopt when that is not a number.
std::optional<int> ParseFileVersion(std::string_view versionLine);

// A licence or information text that a file of version 269 or older carries itself, to be
// written beside the project file.
struct OldSideFile {
  std::string path;
  std::string content;
};

// Applies line `value` of slot `number` of a file of version `version` to the project, with
// the adjustments for older files. `projectPath` is the file being read. False when a
// number or index slot does not hold a decimal integer.
bool ApplyFileSlot(Project& project, int number, const std::string& value, int version,
                   const std::string& projectPath, const ProjectContext& context,
                   std::vector<OldSideFile>& sideFiles);

}  // namespace bvq
