#pragma once
// Command-line parsing: what the program was asked to do.
#include <string>
#include <vector>

namespace bvq {

enum class CommandKind {
  Window,      // start the window (no usable arguments)
  OpenFile,    // start the window and open `project`
  Build,       // build `project` without any window
  ExportText,  // write the decoded text of `project` to `output` ("" = standard output)
  ImportText,  // write a project file `output` from the text file `project`
  RenderPreview,  // write the looks of `project` as pictures into the folder `output`
  Inspect,     // report on the setup `project` (`json`: as JSON)
  Extract,     // write the payload of the setup `project` below the folder `output`
  Help,
  Version,
  Error,       // `message` says what is wrong
};

struct CommandLine {
  CommandKind kind = CommandKind::Window;
  std::string project;  // absolute path for Build and OpenFile
  std::string output;
  std::string message;
  // "/build" or "--build" was given but its file is missing or empty: the build cannot run.
  bool buildRequested = false;
  bool json = false;   // --inspect ... --json
  bool force = false;  // --extract ... --force: replace existing files
  // "/build PROJECT --sign-command CMD": replaces the program setting SignCommand for this build.
  bool signCommandGiven = false;
  std::string signCommand;
};

// `args` excludes the program name. "/build" (any letter case) or "--build" followed by an
// existing file selects a build; "/build" with a missing file does not (the window starts and
// `buildRequested` is set so a headless start can say why it cannot build).
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// Usage text for --help.
std::string UsageText();

// Exit codes of a command-line build.
constexpr int kExitBuilt = 0;
constexpr int kExitBuildFailed = 1;
constexpr int kExitProjectUnreadable = 2;

}  // namespace bvq
