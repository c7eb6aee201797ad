#pragma once
// Program-wide values computed once at start and read everywhere.
#include <string>

namespace bvq {

// "major.minor" + release written together ("5.04" for 5.0.4.x); a build below 10 appends
// " beta " + build.
std::string VersionString(int major, int minor, int release, int build);
// The program's own version (from the build's project version), e.g. "5.04".
const std::string& ProgramVersion();
// The four numbers of the program's version (major, minor, release, build).
struct VersionNumbers { int major, minor, release, build; };
VersionNumbers ProgramVersionNumbers();

// Folder of the executable with a trailing "/"; SetProgramFolder overrides it (tests, tools).
const std::string& ProgramFolder();
void SetProgramFolder(const std::string& folder);

// The working folder with a trailing "/"; set at start (see platform/work_folder.h).
const std::string& WorkFolder();
void SetWorkFolder(const std::string& folder);

// The command that signs the uninstaller and the setup during a build ("" = no signing):
// the setting "SignCommand", or "--sign-command" of a command-line build.
const std::string& SignCommand();
void SetSignCommand(const std::string& command);

// True while a command-line build runs; the project path of that build.
bool BuildMode();
const std::string& BuildProjectPath();
void SetBuildMode(bool buildMode, const std::string& projectPath = {});

}  // namespace bvq
