// The installer's decisions for given facts: which refused-systems bit the running system
// stands for, and what happens to a packed file whose destination already holds a file.
extern "C" {
#include "stub/install_decisions.h"
#include "stub/setup_format.h"
}
#include <gtest/gtest.h>

namespace {

TEST(InstallDecisions, EachSystemVersionHasItsRefusalBit) {
  struct Case {
    SystemVersion version;
    int bit;
  };
  const Case cases[] = {
      {{1, 4, 0, 1}, REFUSE_95},        {{1, 4, 10, 1}, REFUSE_98},  {{1, 4, 89, 1}, REFUSE_98},
      {{1, 4, 90, 1}, REFUSE_ME},       {{0, 4, 0, 1}, REFUSE_NT},   {{0, 3, 51, 0}, REFUSE_NT},
      {{0, 5, 0, 1}, REFUSE_2000},      {{0, 5, 1, 1}, REFUSE_XP},   {{0, 5, 2, 0}, REFUSE_2003},
      {{0, 6, 0, 1}, REFUSE_VISTA},     {{0, 6, 0, 0}, REFUSE_2008_7}, {{0, 6, 1, 1}, REFUSE_2008_7},
      {{0, 10, 0, 1}, REFUSE_2008_7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.version.consumer_line << " " << c.version.major << "." << c.version.minor
                                    << " workstation " << c.version.workstation);
    EXPECT_EQ(system_refusal_bit(c.version), c.bit);
  }
}

TEST(InstallDecisions, ExistingFileIsKeptReplacedOrAskedByItsMode) {
  struct Case {
    long long mode;
    ReplaceDecision older, newer;  // when the packed file is not newer / is newer
  };
  const Case cases[] = {
      {MODE_ASK, REPLACE_ASK, REPLACE_ASK},
      {MODE_ASK_IF_NEWER, REPLACE_KEEP, REPLACE_ASK_NEWER},
      {MODE_REPLACE, REPLACE_WRITE, REPLACE_WRITE},
      {MODE_REPLACE_IF_NEWER, REPLACE_KEEP, REPLACE_WRITE},
      {MODE_SKIP, REPLACE_KEEP, REPLACE_KEEP},
      {-1, REPLACE_KEEP, REPLACE_KEEP},  // an unknown mode never overwrites
      {99, REPLACE_KEEP, REPLACE_KEEP},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    EXPECT_EQ(replace_decision(c.mode, 0), c.older);
    EXPECT_EQ(replace_decision(c.mode, 1), c.newer);
  }
}

}  // namespace
