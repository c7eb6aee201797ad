#include "util/program_values.h"

#include <unistd.h>


#include "util/paths.h"

namespace bvq {
namespace {

struct Values {
  std::string programFolder;
  bool programFolderKnown = false;
  std::string workFolder;
  std::string signCommand;
  bool buildMode = false;
  std::string buildProjectPath;
};

Values& Global() {
  static Values values;
  return values;
}

std::string ExecutableFolder() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "./";
  return ExtractFilePath(std::string(buffer, static_cast<size_t>(n)));
}

}  // namespace

std::string VersionString(int major, int minor, int release, int build) {
  std::string s = std::to_string(major) + "." + std::to_string(minor) + std::to_string(release);
  if (build < 10) s += " beta " + std::to_string(build);
  return s;
}

VersionNumbers ProgramVersionNumbers() {
  return {BVQ_VERSION_MAJOR, BVQ_VERSION_MINOR, BVQ_VERSION_RELEASE, BVQ_VERSION_BUILD};
}

const std::string& ProgramVersion() {
  static const std::string version = [] {
    VersionNumbers v = ProgramVersionNumbers();
    return VersionString(v.major, v.minor, v.release, v.build);
  }();
  return version;
}

const std::string& ProgramFolder() {
  Values& v = Global();
  if (!v.programFolderKnown) {
    v.programFolder = ExecutableFolder();
    v.programFolderKnown = true;
  }
  return v.programFolder;
}

void SetProgramFolder(const std::string& folder) {
  Global().programFolder = IncludeTrailingSeparator(folder);
  Global().programFolderKnown = true;
}

const std::string& SignCommand() { return Global().signCommand; }
void SetSignCommand(const std::string& command) { Global().signCommand = command; }

const std::string& WorkFolder() { return Global().workFolder; }
void SetWorkFolder(const std::string& folder) {
  Global().workFolder = folder.empty() ? folder : IncludeTrailingSeparator(folder);
}

bool BuildMode() { return Global().buildMode; }
const std::string& BuildProjectPath() { return Global().buildProjectPath; }
void SetBuildMode(bool buildMode, const std::string& projectPath) {
  Global().buildMode = buildMode;
  Global().buildProjectPath = projectPath;
}

}  // namespace bvq
