#include "setup_build/command_line_build.h"

#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <string>

#include "setup_build/build_cancel.h"
#include "setup_build/build_log.h"
#include "setup_build/run_build.h"
#include "images/picture_import.h"
#include "platform/command_line.h"
#include "platform/program_settings.h"
#include "platform/settings_store.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/language_lists.h"
#include "project/new_project.h"
#include "project/project_file.h"
#include "project/project_rules.h"
#include "util/code_page.h"
#include "util/strings.h"

namespace bvq {
namespace {

// Prints log lines on standard output (converted from the project code page to UTF-8).
class ConsoleReporter : public BuildReporter {
 public:
  void AddLogLine(const LogLine& line) override {
    LogLine shown = line;
    shown.text = ControlsAsQuestionMarks(AnsiToUtf8(line.text));
    std::fprintf(stdout, "%s\n", FormatLogLine(shown).c_str());
    std::fflush(stdout);
  }
  // The per-file progress of packing replaces the last line in a window; printed, it would
  // only repeat the file names, so it is left out.
  void SetLastLogLine(const std::string&) override {}
  void SetProgressMaximum(uint64_t) override {}
  void SetProgressPosition(uint64_t) override {}
  void SetSizeText(const std::string&) override {}

  void Line(const std::string& text, LogIcon icon) { AddLogLine(LogLine{text, icon, std::time(nullptr)}); }
};

extern "C" void OnInterrupt(int) { RequestBuildCancel(); }

// Signals that end a build: each cancels it, so that the build removes its partial setup and
// work files before the program exits.
constexpr int kCancelSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Installs the cancel handler for the signals above for the lifetime of the object.
class CancelOnSignals {
 public:
  CancelOnSignals() {
    struct sigaction sa{};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    for (std::size_t i = 0; i < std::size(kCancelSignals); ++i) sigaction(kCancelSignals[i], &sa, &old_[i]);
  }
  ~CancelOnSignals() {
    for (std::size_t i = 0; i < std::size(kCancelSignals); ++i) sigaction(kCancelSignals[i], &old_[i], nullptr);
  }

 private:
  struct sigaction old_[std::size(kCancelSignals)]{};
};

}  // namespace

int RunCommandLineBuild(const std::string& projectPath) {
  // A closed standard output (the build piped into "head") makes log lines fail to print; it
  // must not kill the build before it has cleaned up.
  std::signal(SIGPIPE, SIG_IGN);
  ConsoleReporter reporter;
  ProjectContext context;
  context.InterfaceLanguage = ResolveInterfaceLanguage(ReadProgramSettings(SettingsStore::Open()).language);
  // Header and logo pictures that are neither BMP nor PNG become bitmaps before the checks;
  // a picture that cannot be converted keeps its path and fails the picture check.
  context.ImportPicture = images::NormalizedPictureOrEmpty;

  Project project;
  ProjectSession session(project);
  project.SetInstallLanguages(InstallLanguageCaptions(context.InterfaceLanguage));
  NewProject(project, session, context);
  const Outcome<ProjectLoad> loaded = LoadProject(project, session, projectPath, context);
  if (!loaded) {
    reporter.Line(Utf8ToAnsi(projectPath) + ": " + loaded.error(), LogIcon::Error);
    return kExitProjectUnreadable;
  }
  for (const std::string& note : loaded->notes) reporter.Line(Utf8ToAnsi(note), LogIcon::Warning);

  // No questions on the command line: a missing source file ends the check at once.
  auto issue = ValidateProject(project, context, [](const std::string&, std::size_t) { return false; });
  if (issue) {
    // A missing source file is named without the question the window would ask.
    reporter.Line(issue->Message == kTextSourceFileMissing ? InterfaceString(kTextSourceFileMissing) + issue->Path
                                                           : ValidationMessageText(*issue),
                  LogIcon::Error);
    return kExitBuildFailed;
  }

  CancelOnSignals cancelOnSignals;
  BuildResult result = RunBuild(project, session, reporter);
  if (!result.built) return kExitBuildFailed;
  // The last line says where the setup is, how big it is and in how many volumes.
  const std::string setup = std::filesystem::path(result.setupPath).lexically_normal().string();
  reporter.Line(Utf8ToAnsi(setup) + ": " + std::to_string(result.totalSize) + " bytes in " +
                    std::to_string(result.volumeCount) + (result.volumeCount == 1 ? " volume" : " volumes"),
                LogIcon::Information);
  return kExitBuilt;
}

}  // namespace bvq
