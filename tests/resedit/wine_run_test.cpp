// The rebuilt program still runs: under Wine, with a private prefix, same output and exit code.
#include <gtest/gtest.h>

#include "pe_fixtures.h"
#include "resedit/replace_exe_icon.h"
#include "wine_capability.h"

using namespace restest;

namespace {

struct RunResult {
  int exitCode = -1;
  std::string output;
};

RunResult RunUnderWine(const std::string& prefix, const std::string& exe) {
  RunResult r;
  r.exitCode = restest::Run("WINEPREFIX=" + Quote(prefix) +
                                " WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' DISPLAY= timeout 600 wine " +
                                Quote(exe) + " first second 2>/dev/null",
                            &r.output);
  return r;
}

TEST(WineRun, TheProgramRunsAsBeforeAfterItsIconIsReplaced) {
  if (const std::string reason = bvq::testing::WineSkipReason(); !reason.empty()) GTEST_SKIP() << reason;
  const std::string dir = NewDir("wine");
  const std::string original = CopyFixture(Fixture::Hello, dir, "original.exe");
  const std::string changed = CopyFixture(Fixture::Hello, dir, "changed.exe");
  WriteBytes(dir + "/new.ico", MakeIco({16, 32, 48, 256}, 0x00405060));
  ASSERT_TRUE(bvq::ReplaceExeIcon(changed, dir + "/new.ico", "MAINICON", 0));
  const std::string prefix = dir + "/prefix";
  const RunResult before = RunUnderWine(prefix, original);
  const RunResult after = RunUnderWine(prefix, changed);
  EXPECT_EQ(before.exitCode, 43);
  EXPECT_NE(before.output.find("hello first second"), std::string::npos) << before.output;
  EXPECT_EQ(after.exitCode, before.exitCode);
  EXPECT_EQ(after.output, before.output);
}

}  // namespace
