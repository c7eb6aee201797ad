#pragma once
// What the project operations need to know about the running program beyond the global
// program values (ProgramFolder, ProgramVersion, the interface string table): the current
// interface language and a few hooks that front ends and later modules fill in.
#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "project/interface_strings.h"

namespace bvq {

struct ProjectContext {
  // Name of the interface language in use ("English").
  std::string InterfaceLanguage = "English";
  // The "Strings" section of interface language `name`, as written in its file (no
  // unescaping; missing keys empty); nullopt when the file cannot be read. Used to
  // re-translate localised cells. Empty hook: ProgramFolder/Language/Interface/<name>.lng.
  std::function<std::optional<InterfaceStringTable>(const std::string& name)> LanguageStrings;
  // Converts a header or logo picture that is neither BMP nor PNG into a new bitmap file and
  // returns its path ("" on failure). Empty hook: the path stays as it is.
  std::function<std::string(const std::string& path)> ImportPicture;
  // Lets pending window messages run between slots and entries of a load or save.
  std::function<void()> ProcessMessages;
  // Current time (file header, year of the default texts). Empty hook: std::time.
  std::function<std::time_t()> Clock;

  std::time_t Now() const { return Clock ? Clock() : std::time(nullptr); }
  void Pump() const {
    if (ProcessMessages) ProcessMessages();
  }
};

// The raw strings of interface language `name` through the hook, or from its file under
// ProgramFolder when the hook is empty.
std::optional<InterfaceStringTable> OldLanguageStrings(const ProjectContext& context, const std::string& name);

}  // namespace bvq
