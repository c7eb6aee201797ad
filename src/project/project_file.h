#pragma once
// The project file (.bvq): a 31-byte magic text, a 32-bit little-endian length and the
// payload EncodeText(ScrambleText(T)), where T is the project text: [INFO] lines, [HEADER]
// (version, language, slot count, slot plus entry count, list count), [CONTROLS] with the
// 128 slot lines, the column and entry counts of the eleven lists, the entries, [END_PROJECT].
#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"
#include "project/project_context.h"
#include "project/project_session.h"
#include "util/outcome.h"

namespace bvq {

inline constexpr std::string_view kProjectMagic = "Belvandorithquessal Project v.3";
inline constexpr int kProjectSlotLines = 128;

// The operations below fail with a message to show the user: interface string 97 for a file
// that is not a project (followed by what is wrong), otherwise a sentence naming the fault.

// What a successful load has to tell the log: one sentence for each licence or information
// text of an old project that went to another name than the usual one, because the usual
// file holds other text.
struct ProjectLoad {
  std::vector<std::string> notes;
};

// Normalises the project and writes it to `path` through a temporary file in the same folder
// that is renamed over the target: a failed save leaves the old file as it was. The session
// is busy meanwhile; on success filePath becomes `path` and the session is unmodified.
Status SaveProject(Project& project, ProjectSession& session, const std::string& path, const ProjectContext& context);

// Reads `path` into a copy of the project and moves it into `project` only when the whole
// file was understood: a damaged file leaves the open project exactly as it was (its file
// name included, so a later save does not overwrite the damaged file). On success the lists
// hold the file's entries, the settings the file's slots (slots beyond the file's slot count
// keep their values), the cells are re-translated, filePath is `path`, and the session is
// unmodified with no current build. The session is busy meanwhile.
Outcome<ProjectLoad> LoadProject(Project& project, ProjectSession& session, const std::string& path,
                                 const ProjectContext& context);

// The project text T of a project as it would be saved to `path` (the project is not
// normalised here).
std::string BuildProjectText(const Project& project, const std::string& path, const ProjectContext& context);
// Reads a project text into `project` (what LoadProject does after decoding), with the same
// all-or-nothing rule. `path` is the project file the text belongs to (old files write their
// licence texts beside it).
Outcome<ProjectLoad> ReadProjectText(Project& project, std::string_view text, const std::string& path,
                                     const ProjectContext& context);

// Container <-> project text.
std::string MakeProjectFileBytes(std::string_view text);
// The decoded project text of a file's bytes; a failure for a file that is not a project file
// or is damaged.
Outcome<std::string> ProjectTextFromFileBytes(std::string_view bytes);

// --export-text: the decoded text of the project file `projectPath`, byte for byte.
Outcome<std::string> ExportProjectText(const std::string& projectPath);
// --import-text: writes the project file `outPath` from the text file `textPath`, after
// checking that the text reads as a project. The file is written atomically.
Status ImportProjectText(const std::string& textPath, const std::string& outPath);

}  // namespace bvq
