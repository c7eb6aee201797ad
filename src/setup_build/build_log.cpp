#include "setup_build/build_log.h"

#include <cstdio>

#include "setup_build/build_inputs.h"
#include "project/interface_strings.h"

namespace bvq {

void BuildReporter::ReportBuildProblem(const BuildInputProblem& problem) {
  AddLogLine(LogLine{InterfaceString(problem.message), LogIcon::Error, std::time(nullptr)});
}

const char* LogIconWord(LogIcon icon) {
  switch (icon) {
    case LogIcon::Error: return "error";
    case LogIcon::Warning: return "warn";
    case LogIcon::Information: break;
  }
  return "info";
}

std::string FormatLogLine(const LogLine& line) {
  std::tm local{};
  std::time_t t = line.time;
  localtime_r(&t, &local);
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  return std::string(stamp) + "  " + LogIconWord(line.icon) + "  " + line.text;
}

}  // namespace bvq
