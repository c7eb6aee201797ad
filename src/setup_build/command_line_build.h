#pragma once
// `belvandorithquessal /build PROJECT.bvq`: load, validate and build without any window.
#include <string>

namespace bvq {

// Loads the project, validates it (a missing source file ends the check at once) and builds
// it, printing every log line to standard output as "HH:MM:SS  info|warn|error  text".
// SIGINT and SIGTERM cancel the build like the Cancel button. Returns 0 when the setup was
// built, 1 for a failed check or build, 2 when the project file cannot be read. The program
// settings, working folder and interface language must be prepared before.
int RunCommandLineBuild(const std::string& projectPath);

}  // namespace bvq
