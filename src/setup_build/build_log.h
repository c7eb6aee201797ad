#pragma once
// What a build reports while it runs: log lines (text, icon kind, time of day), progress in
// units of 1024 bytes and the growing size text. The build window shows them; the command
// line prints the log lines.
#include <cstdint>
#include <ctime>
#include <string>

namespace bvq {

struct BuildInputProblem;

// Icon kinds of the log, numbered as the log's image list.
enum class LogIcon : int { Error = 0, Information = 1, Warning = 2 };

struct LogLine {
  std::string text;  // project code page bytes
  LogIcon icon = LogIcon::Information;
  std::time_t time = 0;  // when the line was added
};

class BuildReporter {
 public:
  virtual ~BuildReporter() = default;
  // Appends a line to the log.
  virtual void AddLogLine(const LogLine& line) = 0;
  // Replaces the text of the last log line (per-file progress while packing).
  virtual void SetLastLogLine(const std::string& text) = 0;
  // Progress bar, in units of 1024 bytes.
  virtual void SetProgressMaximum(uint64_t units) = 0;
  virtual void SetProgressPosition(uint64_t units) = 0;
  // The size text at the bottom of the build window ("0,00 Kb" at start).
  virtual void SetSizeText(const std::string& text) = 0;
  // Lets pending window messages run, so a window stays responsive and Cancel can be
  // pressed. Called often during long steps; a front end without a window ignores it.
  virtual void ProcessEvents() {}
  // A check before the build failed: the window shows the page and a message box. The
  // default adds the message (its interface string) as an error line.
  virtual void ReportBuildProblem(const BuildInputProblem& problem);
};

// A reporter that ignores everything (for callers that only want the files).
class SilentReporter : public BuildReporter {
 public:
  void AddLogLine(const LogLine&) override {}
  void SetLastLogLine(const std::string&) override {}
  void SetProgressMaximum(uint64_t) override {}
  void SetProgressPosition(uint64_t) override {}
  void SetSizeText(const std::string&) override {}
};

// "HH:MM:SS  info|warn|error  text" in local time: one line of the command-line build.
std::string FormatLogLine(const LogLine& line);

// The word for an icon kind: "error", "info" or "warn".
const char* LogIconWord(LogIcon icon);

}  // namespace bvq
