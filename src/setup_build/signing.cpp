#include "setup_build/signing.h"

#include <sys/wait.h>

#include <cstdio>

#include "util/files.h"
#include "util/strings.h"

namespace bvq {

std::string ShellQuoted(const std::string& text) { return "'" + ReplaceAll(text, "'", "'\\''") + "'"; }

SignOutcome SignFile(const std::string& command, const std::string& file) {
  SignOutcome outcome;
  const std::string line = ReplaceAll(command, "{file}", ShellQuoted(file));
  // popen runs the line through /bin/sh -c; its standard error joins the output.
  FILE* pipe = popen(("exec 2>&1 </dev/null; " + line).c_str(), "r");
  if (!pipe) {
    outcome.output = "the sign command could not be started";
    return outcome;
  }
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) outcome.output.append(buffer, n);
  const int status = pclose(pipe);
  outcome.signedOk = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0 && FileExists(file);
  if (!outcome.signedOk && status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0)
    outcome.output += "\nthe signed file is missing";
  return outcome;
}

}  // namespace bvq
