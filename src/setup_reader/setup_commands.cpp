#include "setup_reader/setup_commands.h"

#include <iostream>

#include "setup_reader/setup_extract.h"
#include "setup_reader/setup_reader.h"
#include "setup_reader/setup_report.h"
#include "util/strings.h"

namespace bvq {

int InspectSetupCommand(const std::string& setup, bool json) {
  SetupReader reader;
  const SetupContents& contents = reader.Read(setup);
  if (contents.verdict != SetupVerdict::NotOurs) std::cout << (json ? SetupReportJson(contents) : SetupReportText(contents));
  std::cerr << SetupProblemLines(contents);
  return static_cast<int>(contents.verdict);
}

int ExtractSetupCommand(const std::string& setup, const std::string& folder, bool force) {
  SetupReader reader;
  const SetupContents& contents = reader.Read(setup);
  if (contents.verdict != SetupVerdict::Whole) {
    std::cerr << SetupProblemLines(contents) << "nothing was extracted\n";
    return static_cast<int>(contents.verdict);
  }
  const ExtractResult result = ExtractSetup(reader, folder, force);
  for (const std::string& line : result.refusals) std::cerr << ControlsAsQuestionMarks(line) << "\n";
  std::cout << result.written << " of " << contents.files.size() << " files written below " << folder << "\n";
  return result.refusals.empty() ? 0 : 1;
}

}  // namespace bvq
