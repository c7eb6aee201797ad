#pragma once
// Starts the Qt application with the main window and runs it until the window closes.
#include "platform/command_line.h"

namespace bvq {

// The program settings, working folder and interface language must be prepared before.
// Opens cl.project once the window is up when the command line named one. Returns the
// process exit code.
int RunMainWindow(int argc, char** argv, const CommandLine& cl);

}  // namespace bvq
