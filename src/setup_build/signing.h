#pragma once
// Signing during a build: the sign command (a program setting, or --sign-command) runs
// through /bin/sh with every "{file}" replaced by the shell-quoted path of the file, which it
// signs in place.
#include <string>

namespace bvq {

// `text` quoted for /bin/sh: in single quotes, each ' written as '\''.
std::string ShellQuoted(const std::string& text);

struct SignOutcome {
  bool signedOk = false;
  std::string output;  // what the command wrote to standard output and standard error
};

// Runs `command` for `file`; signedOk when it exits with status 0 and the file is still there.
SignOutcome SignFile(const std::string& command, const std::string& file);

}  // namespace bvq
