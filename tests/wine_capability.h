// Whether the tests may run Windows programs under Wine on this machine. The answer comes from
// scripts/wine-capability, run once per test run by the CTest fixture "wine_capability", which
// writes it to <build>/tests/wine-capability; a test program started by hand runs the probe itself.
// tests/wine_capability.py reads the same two lines.
#pragma once

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace bvq::testing {

// The probe's answer: what the machine can do ("native", "emulated", "none<TAB>reason",
// "broken<TAB>reason") and why the Wine checks skip here ("" where they run).
struct WineProbeAnswer {
  std::string capability;
  std::string skipReason;
};

// Reads the probe's two lines from `text`; false unless both are there, each ending its line.
inline bool ParseWineProbeAnswer(const std::string& text, WineProbeAnswer& answer) {
  const std::size_t first = text.find('\n');
  const std::size_t second = first == std::string::npos ? first : text.find('\n', first + 1);
  answer.capability = text.substr(0, first);
  if (second == std::string::npos) return false;
  answer.skipReason = text.substr(first + 1, second - first - 1);
  return !answer.capability.empty();
}

inline const WineProbeAnswer& WineProbe() {
  static const WineProbeAnswer answer = [] {
    WineProbeAnswer read;
    std::ifstream in(std::string(BVQ_BINARY_DIR) + "/tests/wine-capability");
    if (ParseWineProbeAnswer(std::string(std::istreambuf_iterator<char>(in), {}), read)) return read;
    std::string text;
    const std::string command = "bash '" + std::string(BVQ_SOURCE_DIR) + "/scripts/wine-capability'";
    if (FILE* p = popen(command.c_str(), "r")) {
      char buffer[512];
      while (std::fgets(buffer, sizeof buffer, p)) text += buffer;
      pclose(p);
    }
    if (!ParseWineProbeAnswer(text, read)) read.skipReason = "the Wine probe gave no answer (" + read.capability + ")";
    return read;
  }();
  return answer;
}

// "" when the Wine checks run here; otherwise why they are skipped. A Wine installation that is
// present but broken is not a reason to skip: the checks run and fail.
inline std::string WineSkipReason() { return WineProbe().skipReason; }

}  // namespace bvq::testing
