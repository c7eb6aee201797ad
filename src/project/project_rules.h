#pragma once
// Normalisation and validation of the project, and the two "ensure" rules.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "project/project.h"
#include "project/project_context.h"

namespace bvq {

// Tidies the settings in place: trims the texts the slot table marks, converts header and
// logo pictures that are neither BMP nor PNG (context.ImportPicture), unticks finish-page and
// close-application options whose text is empty, appends ".exe" to the setup file, and falls
// back to one file when volume splitting by size has size 0.
void NormalizeProject(Project& project, const ProjectContext& context);

// With no install language checked: checks the current interface language's item, else
// "English".
void EnsureInstallLanguage(Project& project, const std::string& interfaceLanguage);
// With no supported system checked: checks all of them.
void EnsureSupportedSystem(Project& project);

// Re-translates the localised cells from language cellLanguage to the current interface
// language (the strings in InterfaceStrings()); then cellLanguage becomes the current
// language. Nothing happens when they are equal or the old strings cannot be read.
void RetranslateProjectCells(Project& project, const ProjectContext& context);
// The interface language changed to context.InterfaceLanguage: re-translates the localised
// cells, gives a project never saved the new language's default titles, and tells the
// listeners (Rewritten).
void FollowInterfaceLanguage(Project& project, const ProjectContext& context);
// Rewrites every localised cell equal to oldStrings[N] into newStrings[N].
void RetranslateCellsBetween(Project& project, const InterfaceStringTable& oldStrings,
                             const InterfaceStringTable& newStrings);

// The first failing check of a validation.
struct ValidationIssue {
  int Check = 0;         // 1..15, the order of the checks
  std::string Page;      // page to show: "Page1", "Page2", "Page4", "Page5", "Page6", "Page13"
  int Tab = -1;          // tab of the page's tab control: PageControl1 on Page5 (0 background ..
                         // 4 icon), PageControl5 on Page4 (0 general); -1 none
  std::string Control;   // control to focus: "LabeledEdit2", "ListView3", ...
  int Message = 0;       // interface string: 223..227, or 112 for a missing source file
  long Row = -1;         // `files` row of a missing source file
  std::string Path;      // that file's path
};

// Asked for every `files` entry whose source file does not exist: true goes on with the
// next entry, false stops validation (the command line answers false at once).
using MissingSourceQuestion = std::function<bool(const std::string& path, std::size_t row)>;

// Normalises, re-translates cells, ensures a language and a system (telling the listeners,
// Rewritten), then runs the checks in order; nullopt when every check passed. An empty question counts as "No".
std::optional<ValidationIssue> ValidateProject(Project& project, const ProjectContext& context,
                                               const MissingSourceQuestion& askContinue);

// The text of a validation message: interface string Message, or for a missing source file
// string 112, the path and string 113.
std::string ValidationMessageText(const ValidationIssue& issue);

}  // namespace bvq
