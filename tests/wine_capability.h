// Whether the tests may run Windows programs under Wine on this machine. The answer comes from
// scripts/wine-capability, run once per test run by the CTest fixture "wine_capability", which
// writes it to <build>/tests/wine-capability; a test program started by hand runs the probe itself.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>

namespace bvq::testing {

// The probe's line: "native", "emulated", "none<TAB>reason" or "broken<TAB>reason".
inline std::string WineCapabilityLine() {
  static const std::string line = [] {
    std::string text;
    std::ifstream in(std::string(BVQ_BINARY_DIR) + "/tests/wine-capability");
    if (!in || !std::getline(in, text) || text.empty()) {
      const std::string command = "bash '" + std::string(BVQ_SOURCE_DIR) + "/scripts/wine-capability'";
      if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[512];
        if (std::fgets(buffer, sizeof buffer, p)) text = buffer;
        pclose(p);
      }
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    }
    return text;
  }();
  return line;
}

// "" when the Wine checks run here; otherwise why they are skipped. A Wine installation that is
// present but broken is not a reason to skip: the checks run and fail.
inline std::string WineSkipReason() {
  const std::string line = WineCapabilityLine();
  if (line == "native" || line.rfind("broken", 0) == 0) return "";
  if (line == "emulated")
    return "this machine runs 32-bit programs only under emulation, where one end-to-end "
           "installer case stands for the Wine checks";
  const std::size_t tab = line.find('\t');
  if (line.rfind("none", 0) == 0 && tab != std::string::npos) return line.substr(tab + 1);
  return "the Wine probe gave no answer (" + line + ")";
}

}  // namespace bvq::testing
