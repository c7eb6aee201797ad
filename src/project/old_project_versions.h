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
// written beside the project file. An existing file is never replaced: when the usual name
// holds other text (the author's edits after an earlier load), a free name is taken and
// `note` says so; a file that already holds exactly this text is used as it is.
struct OldSideFile {
  std::string path;
  std::string content;
  bool exists = false;  // `path` already holds `content`: nothing to write
  std::string note;     // for the log; empty when the usual name was used
};

// Where the text `content` meant for `usualPath` ("<project>_License.rtf") goes: the usual
// path when it is free or already holds the text, otherwise the first of "<stem> (2).rtf",
// "<stem> (3).rtf", ... that is.
OldSideFile PlaceOldSideFile(const std::string& usualPath, std::string content);

// Applies line `value` of slot `number` of a file of version `version` to the project, with
// the adjustments for older files. `projectPath` is the file being read. False when a
// number or index slot does not hold a decimal integer.
bool ApplyFileSlot(Project& project, int number, const std::string& value, int version,
                   const std::string& projectPath, const ProjectContext& context,
                   std::vector<OldSideFile>& sideFiles);

}  // namespace bvq
