// The Wine probe's answer as the C++ tests read it (wine_capability.h): the lines the probe
// prints for each answer it can give (forced with BVQ_WINE) give the skip reasons the Python
// helper gives too (tests/wine_probe_test.py); what is not a whole answer is refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "wine_capability.h"

namespace bvq::testing {
namespace {

std::string ProbeOutput(const std::string& forced) {
  const std::string command = "BVQ_WINE=" + forced + " bash '" + BVQ_SOURCE_DIR + "/scripts/wine-capability'";
  std::string text;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, p)) text += buffer;
    pclose(p);
  }
  return text;
}

TEST(WineProbe, EachAnswerGivesItsSkipReason) {
  const struct {
    const char* forced;
    const char* capability;
    const char* skipReason;
  } cases[] = {
      {"native", "native", ""},
      {"emulated", "emulated",
       "this machine runs 32-bit programs only under emulation, where one end-to-end installer case stands for "
       "the Wine checks"},
      {"none", "none\tthis machine cannot run 32-bit programs (BVQ_WINE=none)",
       "this machine cannot run 32-bit programs (BVQ_WINE=none)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.forced);
    WineProbeAnswer answer;
    ASSERT_TRUE(ParseWineProbeAnswer(ProbeOutput(c.forced), answer));
    EXPECT_EQ(answer.capability, c.capability);
    EXPECT_EQ(answer.skipReason, c.skipReason);
  }
}

TEST(WineProbe, PartOfAnAnswerIsNoAnswer) {
  for (const std::string text : {"", "\n\n", "native\n", "none\tno Wine\nno Wine"}) {
    SCOPED_TRACE(text);
    WineProbeAnswer answer;
    EXPECT_FALSE(ParseWineProbeAnswer(text, answer));
  }
}

}  // namespace
}  // namespace bvq::testing
