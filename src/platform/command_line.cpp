#include "platform/command_line.h"

#include "util/files.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq {

std::string UsageText() {
  return "Usage:\n"
         "  belvandorithquessal                          start the window\n"
         "  belvandorithquessal PROJECT.bvq              start the window and open the project\n"
         "  belvandorithquessal /build PROJECT.bvq       build the setup without any window\n"
         "                                               (also --build; exit status 0 built,\n"
         "                                               1 failed build or check, 2 project unreadable)\n"
         "  belvandorithquessal --export-text PROJECT.bvq [OUT]\n"
         "                                               write the decoded project text\n"
         "  belvandorithquessal --import-text TEXT OUT.bvq\n"
         "                                               write a project file from such a text\n"
         "  belvandorithquessal --render-preview PROJECT.bvq OUTDIR\n"
         "                                               write background.png, header.png and logo.png\n"
         "                                               as the installer will look (exit status 0 written,\n"
         "                                               1 a picture failed, 2 project unreadable)\n"
         "  belvandorithquessal /build PROJECT.bvq --sign-command CMD\n"
         "                                               sign the uninstaller and the setup with CMD\n"
         "                                               ({file} is replaced by the file to sign)\n"
         "  belvandorithquessal --inspect SETUP.exe [--json]\n"
         "                                               report on a built setup and check it (exit\n"
         "                                               status 0 whole, 1 damaged, 2 not a setup)\n"
         "  belvandorithquessal --extract SETUP.exe DIR [--force]\n"
         "                                               write the setup's files below DIR\n"
         "  belvandorithquessal --help | --version\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  if (args.empty()) return cl;
  const std::string first = ToLowerAscii(args[0]);
  if (first == "--help" || first == "-h") {
    cl.kind = CommandKind::Help;
    return cl;
  }
  if (first == "--version") {
    cl.kind = CommandKind::Version;
    return cl;
  }
  if (first == "/build" || first == "--build") {
    if (args.size() >= 2 && FileExists(args[1])) {
      cl.kind = CommandKind::Build;
      cl.project = AbsolutePath(args[1]);
      if (args.size() >= 3) {
        if (args[2] != "--sign-command" || args.size() != 4) {
          cl.kind = CommandKind::Error;
          cl.message = "after the project file only --sign-command CMD may follow";
          return cl;
        }
        cl.signCommandGiven = true;
        cl.signCommand = args[3];
      }
      return cl;
    }
    // Not a build: the window starts; a front end without a window reports why.
    cl.buildRequested = true;
    cl.project = args.size() >= 2 ? args[1] : std::string();
    cl.message = args.size() >= 2 ? "project file not found: " + args[1] : "no project file given after " + args[0];
    return cl;
  }
  if (args[0] == "--export-text") {
    if (args.size() < 2 || args.size() > 3) {
      cl.kind = CommandKind::Error;
      cl.message = "--export-text needs a project file and optionally an output file";
      return cl;
    }
    cl.kind = CommandKind::ExportText;
    cl.project = args[1];
    cl.output = args.size() == 3 ? args[2] : std::string();
    return cl;
  }
  if (args[0] == "--import-text") {
    if (args.size() != 3) {
      cl.kind = CommandKind::Error;
      cl.message = "--import-text needs a text file and an output project file";
      return cl;
    }
    cl.kind = CommandKind::ImportText;
    cl.project = args[1];
    cl.output = args[2];
    return cl;
  }
  if (args[0] == "--render-preview") {
    if (args.size() != 3) {
      cl.kind = CommandKind::Error;
      cl.message = "--render-preview needs a project file and an output folder";
      return cl;
    }
    cl.kind = CommandKind::RenderPreview;
    cl.project = args[1];
    cl.output = args[2];
    return cl;
  }
  if (args[0] == "--inspect") {
    const bool json = args.size() == 3 && args[2] == "--json";
    if (args.size() != 2 && !json) {
      cl.kind = CommandKind::Error;
      cl.message = "--inspect needs a setup file and optionally --json";
      return cl;
    }
    cl.kind = CommandKind::Inspect;
    cl.project = args[1];
    cl.json = json;
    return cl;
  }
  if (args[0] == "--extract") {
    const bool force = args.size() == 4 && args[3] == "--force";
    if (args.size() != 3 && !force) {
      cl.kind = CommandKind::Error;
      cl.message = "--extract needs a setup file, a folder and optionally --force";
      return cl;
    }
    cl.kind = CommandKind::Extract;
    cl.project = args[1];
    cl.output = args[2];
    cl.force = force;
    return cl;
  }
  if (args[0].size() > 2 && args[0].rfind("--", 0) == 0) {
    cl.kind = CommandKind::Error;
    cl.message = "unknown option " + args[0];
    return cl;
  }
  // A first argument that names an existing file opens it; anything else is ignored.
  if (FileExists(args[0])) {
    cl.kind = CommandKind::OpenFile;
    cl.project = AbsolutePath(args[0]);
  }
  return cl;
}

}  // namespace bvq
