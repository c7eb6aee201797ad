// Belvandorithquessal: the command line first; the window only when one is wanted.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "platform/command_line.h"
#include "platform/program_settings.h"
#include "platform/settings_store.h"
#include "project/language_files.h"
#include "util/files.h"
#include "util/program_values.h"
#include "util/strings.h"

#if BVQ_HAVE_PROJECT_FILE
#include "project/project_file.h"
#endif
#if BVQ_WITH_GUI
#include "app/run_main_window.h"
#endif
#if BVQ_WITH_PREVIEW
#include "preview/render_command.h"
#endif
#include "setup_reader/setup_commands.h"
#if __has_include("setup_build/command_line_build.h")
#include "setup_build/command_line_build.h"
#define BVQ_HAVE_COMMAND_LINE_BUILD 1
#endif

namespace {

// Settings, working folder and interface strings, as a start of the program prepares them.
bool PrepareProgram() {
  bvq::SettingsStore store = bvq::SettingsStore::Open();
  bvq::ProgramSettings settings;
  if (bvq::Status started = bvq::StartProgram(store, settings); !started) {
    std::cerr << "belvandorithquessal: " << bvq::ControlsAsQuestionMarks(started.error) << "\n";
    return false;
  }
  if (!bvq::LoadInterfaceLanguage(settings.language) && !bvq::LoadInterfaceLanguage("English"))
    std::cerr << "belvandorithquessal: warning: no interface language file found below " << bvq::ProgramFolder()
              << "Language/Interface/\n";
  return true;
}

int RunBuild(const std::string& project, const bvq::CommandLine& cl) {
  if (bvq::FileSize64(project) == 0) {
    std::cerr << "belvandorithquessal: the project file is empty: " << bvq::ControlsAsQuestionMarks(project) << "\n";
    return bvq::kExitProjectUnreadable;
  }
  bvq::SetBuildMode(true, project);
  if (!PrepareProgram()) return bvq::kExitBuildFailed;
  if (cl.signCommandGiven) bvq::SetSignCommand(cl.signCommand);
#if BVQ_HAVE_COMMAND_LINE_BUILD
  return bvq::RunCommandLineBuild(project);
#else
  std::cerr << "belvandorithquessal: building is not available in this version of the program\n";
  return bvq::kExitBuildFailed;
#endif
}

// Export and import never replace what OUT names when it is a folder, device, FIFO, socket
// or the input itself.
bool OutputRefused(const bvq::CommandLine& cl) {
  if (cl.output.empty()) return false;
  const std::string refusal = bvq::ReplaceRefusal(cl.output, {cl.project});
  if (refusal.empty()) return false;
  std::cerr << "belvandorithquessal: nothing written: " << bvq::ControlsAsQuestionMarks(refusal) << "\n";
  return true;
}

int ExportText(const bvq::CommandLine& cl) {
#if BVQ_HAVE_PROJECT_FILE
  if (OutputRefused(cl)) return 1;
  const bvq::Outcome<std::string> exported = bvq::ExportProjectText(cl.project);
  if (!exported) {
    std::cerr << "belvandorithquessal: " << bvq::ControlsAsQuestionMarks(cl.project + ": " + exported.error()) << "\n";
    return bvq::kExitProjectUnreadable;
  }
  const std::string& text = *exported;
  if (cl.output.empty()) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (bvq::Status written = bvq::WriteFileAtomic(cl.output, text); !written) {
    std::cerr << "belvandorithquessal: " << bvq::ControlsAsQuestionMarks(written.error) << "\n";
    return 1;
  }
  return 0;
#else
  (void)cl;
  std::cerr << "belvandorithquessal: --export-text is not available in this version of the program\n";
  return 1;
#endif
}

int ImportText(const bvq::CommandLine& cl) {
#if BVQ_HAVE_PROJECT_FILE
  if (OutputRefused(cl)) return 1;
  const bvq::Status imported = bvq::ImportProjectText(cl.project, cl.output);
  if (!imported) {
    std::cerr << "belvandorithquessal: " << bvq::ControlsAsQuestionMarks(cl.project + ": " + imported.error) << "\n";
    return bvq::kExitProjectUnreadable;
  }
  return 0;
#else
  (void)cl;
  std::cerr << "belvandorithquessal: --import-text is not available in this version of the program\n";
  return 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const bvq::CommandLine cl = bvq::ParseCommandLine(args);
  switch (cl.kind) {
    case bvq::CommandKind::Help:
      std::cout << bvq::kProgramName << " " << bvq::ProgramVersion() << "\n" << bvq::UsageText();
      return 0;
    case bvq::CommandKind::Version:
      std::cout << bvq::kProgramName << " " << bvq::ProgramVersion() << "\n";
      return 0;
    case bvq::CommandKind::Error:
      std::cerr << "belvandorithquessal: " << bvq::ControlsAsQuestionMarks(cl.message) << "\n" << bvq::UsageText();
      return 2;
    case bvq::CommandKind::Build:
      return RunBuild(cl.project, cl);
    case bvq::CommandKind::Inspect:
      return bvq::InspectSetupCommand(cl.project, cl.json);
    case bvq::CommandKind::Extract:
      return bvq::ExtractSetupCommand(cl.project, cl.output, cl.force);
    case bvq::CommandKind::ExportText:
      return ExportText(cl);
    case bvq::CommandKind::ImportText:
      return ImportText(cl);
    case bvq::CommandKind::RenderPreview:
#if BVQ_WITH_PREVIEW
      return bvq::preview::RunRenderPreview(argc, argv, cl.project, cl.output);
#else
      std::cerr << "belvandorithquessal: --render-preview is not available in this version of the program\n";
      return 1;
#endif
    case bvq::CommandKind::Window:
    case bvq::CommandKind::OpenFile:
      break;
  }
  // The window is wanted.
  if (cl.buildRequested) {
    // "/build" with a missing file does not select a build; without a window there is
    // nothing else to do, so say why instead of starting silently.
    std::cerr << "belvandorithquessal: " << bvq::ControlsAsQuestionMarks(cl.message) << "\n";
    return bvq::kExitProjectUnreadable;
  }
#if BVQ_WITH_GUI
  if (!PrepareProgram()) return 1;
  return bvq::RunMainWindow(argc, argv, cl);
#else
  std::cerr << "belvandorithquessal: this build of the program has no window; use\n"
               "  belvandorithquessal /build PROJECT.bvq\n"
               "to build a setup (see --help).\n";
  return 1;
#endif
}
