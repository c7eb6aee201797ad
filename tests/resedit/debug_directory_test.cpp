// The debug directory after a rebuild: entries describing data after the resource section
// move with it; a Size that is not a multiple of 28 counts entries.
#include <gtest/gtest.h>

#include "pe_fixtures.h"
#include "resedit/replace_exe_icon.h"

using namespace restest;

namespace {

struct DebugCase {
  const char* title;
  int size;            // the directory's Size field
  int entriesAdjusted; // how many of the three table entries are read as entries
};

void PrintTo(const DebugCase& c, std::ostream* os) { *os << c.title; }

class DebugDirectoryTest : public ::testing::TestWithParam<DebugCase> {};

TEST_P(DebugDirectoryTest, EntriesAfterTheResourceSectionMove) {
  const DebugCase& c = GetParam();
  const std::string dir = NewDir("debug");
  const std::string exe = CopyFixture(Fixture::DebugTable, dir);
  std::string out;
  ASSERT_EQ(restest::Run("/usr/bin/python3 " + Quote(std::string(BVQ_SOURCE_DIR) + "/tests/resedit/set_debug_dir.py") + " " +
                    Quote(exe) + " " + std::to_string(c.size),
                &out),
            0)
      << out;
  const std::string ico = dir + "/new.ico";
  WriteBytes(ico, MakeIco({16, 32, 256}, 0x00102030));
  const PeFacts before = ReadPeFacts(exe, 3);
  ASSERT_EQ(before.debug.size(), 3u) << before.text;

  ASSERT_TRUE(bvq::ReplaceExeIcon(exe, ico, "MAINICON", 0));

  const PeFacts after = ReadPeFacts(exe, 3);
  ASSERT_EQ(after.debug.size(), 3u) << after.text;
  EXPECT_EQ(after.storedChecksum, after.generatedChecksum);
  const int reloc = before.SectionIndex(".reloc");
  ASSERT_GT(reloc, before.SectionIndex(".rsrc"));
  const int64_t r = static_cast<int64_t>(after.sections[reloc].ptr) - static_cast<int64_t>(before.sections[reloc].ptr);
  const int64_t v = static_cast<int64_t>(after.sections[reloc].va) - static_cast<int64_t>(before.sections[reloc].va);
  ASSERT_GT(r, 0);
  ASSERT_GT(v, 0);
  EXPECT_EQ(after.dirs[6], before.dirs[6]) << "the table itself lies before .rsrc";

  // 0: data before .rsrc, never moved. 1: data in .reloc. 2: appended data, no address.
  const int64_t moveR[] = {0, r, r};
  const int64_t moveV[] = {0, v, 0};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const auto& b = before.debug[i];
    const auto& a = after.debug[i];
    const bool adjusted = i < c.entriesAdjusted;
    EXPECT_EQ(static_cast<int64_t>(a.pointer), static_cast<int64_t>(b.pointer) + (adjusted ? moveR[i] : 0));
    EXPECT_EQ(static_cast<int64_t>(a.address), static_cast<int64_t>(b.address) + (adjusted ? moveV[i] : 0));
    if (adjusted) EXPECT_EQ(a.md5, b.md5) << "the entry still describes the same bytes";
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, DebugDirectoryTest,
                         ::testing::Values(DebugCase{"Size56IsTwoEntries", 56, 2},
                                           DebugCase{"Size3IsThreeEntries", 3, 3}),
                         [](const auto& info) { return std::string(info.param.title); });

}  // namespace
