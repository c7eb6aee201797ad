// ReplaceExeIcon on real executables, checked with pefile and wrestool.
#include "resedit/replace_exe_icon.h"

#include <gtest/gtest.h>

#include "pe_fixtures.h"

using namespace restest;

namespace {

struct ReplaceCase {
  const char* title;
  std::vector<int> sizes;  // images of the new .ico
  bool grows;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.title; }

class ReplaceExeIconTest : public ::testing::TestWithParam<ReplaceCase> {};

uint64_t AlignUp(uint64_t x, uint64_t n) { return (x + n - 1) / n * n; }

TEST_P(ReplaceExeIconTest, RebuildsTheFileAroundTheNewIconGroup) {
  const ReplaceCase& c = GetParam();
  const std::string dir = NewDir("replace");
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  const std::string ico = dir + "/new.ico";
  WriteBytes(ico, MakeIco(c.sizes, 0x00405060));
  const PeFacts before = ReadPeFacts(exe);
  ASSERT_TRUE(before.parsed) << before.text;

  ASSERT_TRUE(bvq::ReplaceExeIcon(exe, ico, "MAINICON", 0));

  const PeFacts after = ReadPeFacts(exe);
  ASSERT_TRUE(after.parsed) << after.text;
  EXPECT_EQ(after.warnings, 0u) << after.text;
  EXPECT_EQ(after.storedChecksum, after.generatedChecksum);

  const int rs = before.SectionIndex(".rsrc");
  ASSERT_GE(rs, 0);
  ASSERT_EQ(after.sections.size(), before.sections.size());
  ASSERT_LT(static_cast<size_t>(rs + 1), before.sections.size()) << "the fixture has sections after .rsrc";
  const int64_t r = static_cast<int64_t>(after.sections[rs].raw) - static_cast<int64_t>(before.sections[rs].raw);
  const int64_t v = static_cast<int64_t>(after.sections[rs + 1].va) - static_cast<int64_t>(before.sections[rs + 1].va);
  EXPECT_EQ(c.grows, r > 0) << "raw growth " << r;
  EXPECT_EQ(r % 512, 0);
  EXPECT_EQ(static_cast<int64_t>(after.size), static_cast<int64_t>(before.size) + r);
  EXPECT_EQ(after.sections[rs].va + AlignUp(after.sections[rs].vsize, 0x1000), after.sections[rs + 1].va);
  EXPECT_EQ(after.dirs[2].second, after.sections[rs].vsize);

  for (size_t i = 0; i < before.sections.size(); ++i) {
    const auto& b = before.sections[i];
    const auto& a = after.sections[i];
    SCOPED_TRACE(b.name);
    EXPECT_EQ(a.name, b.name);
    if (static_cast<int>(i) == rs) continue;
    EXPECT_EQ(a.md5, b.md5);
    EXPECT_EQ(a.vsize, b.vsize);
    EXPECT_EQ(a.raw, b.raw);
    const bool moved = static_cast<int>(i) > rs;
    EXPECT_EQ(static_cast<int64_t>(a.va), static_cast<int64_t>(b.va) + (moved ? v : 0));
    if (b.ptr != 0) EXPECT_EQ(static_cast<int64_t>(a.ptr), static_cast<int64_t>(b.ptr) + (moved ? r : 0));
  }
  // Base relocations follow .reloc; the build id's debug directory lies before .rsrc.
  EXPECT_EQ(static_cast<int64_t>(after.dirs[5].first), static_cast<int64_t>(before.dirs[5].first) + v);
  EXPECT_EQ(after.dirs[6], before.dirs[6]);
  EXPECT_EQ(static_cast<int64_t>(after.sizeOfImage), static_cast<int64_t>(before.sizeOfImage) + v);
  EXPECT_EQ(static_cast<int64_t>(after.symbolTable), static_cast<int64_t>(before.symbolTable) + r);
  ASSERT_TRUE(after.overlayOffset && before.overlayOffset);
  EXPECT_EQ(static_cast<int64_t>(*after.overlayOffset), static_cast<int64_t>(*before.overlayOffset) + r);
  EXPECT_EQ(after.overlayMd5, before.overlayMd5);

  // The new group holds exactly the .ico's images; the rest of the resources is unchanged.
  const auto images = WrestoolGroupImages(exe, "MAINICON");
  ASSERT_TRUE(images.has_value());
  const auto expected = ReadIcoImages(ReadBytes(ico));
  ASSERT_EQ(images->size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ((*images)[i].width, expected[i].width);
    EXPECT_EQ((*images)[i].bitCount, expected[i].bitCount);
    EXPECT_TRUE((*images)[i].bytes == expected[i].bytes) << "image " << i;
  }
  for (const auto& [type, name] : std::vector<std::pair<std::string, std::string>>{
           {"14", "2"}, {"3", "4"}, {"3", "5"}, {"10", "BLOB"}, {"16", "1"}}) {
    const auto* b = before.FindResource(type, name);
    const auto* a = after.FindResource(type, name);
    ASSERT_TRUE(a && b) << type << "/" << name;
    EXPECT_EQ(a->md5, b->md5) << type << "/" << name;
    EXPECT_EQ(a->lang, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReplaceExeIconTest,
                         ::testing::Values(ReplaceCase{"Grow", {16, 32, 48, 128, 256}, true},
                                           ReplaceCase{"Shrink", {16}, false}),
                         [](const auto& info) { return std::string(info.param.title); });

TEST(ReplaceExeIcon, LeavesAFileWithoutResourcesUntouched) {
  const std::string dir = NewDir("nores");
  const std::string exe = CopyFixture(Fixture::NoResources, dir);
  const std::string ico = dir + "/new.ico";
  WriteBytes(ico, MakeIco({16}, 0x00102030));
  const std::string md5 = FileMd5(exe);
  EXPECT_FALSE(bvq::ReplaceExeIcon(exe, ico, "MAINICON", 0));
  EXPECT_EQ(FileMd5(exe), md5);
}

TEST(ReplaceExeIcon, UnreadableIcoRewritesTheUnchangedResources) {
  const std::string dir = NewDir("badico");
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  const PeFacts before = ReadPeFacts(exe);
  EXPECT_FALSE(bvq::ReplaceExeIcon(exe, dir + "/missing.ico", "MAINICON", 0));
  const PeFacts after = ReadPeFacts(exe);
  ASSERT_TRUE(after.parsed) << after.text;
  EXPECT_EQ(after.storedChecksum, after.generatedChecksum);
  ASSERT_EQ(after.resources.size(), before.resources.size());
  for (size_t i = 0; i < before.resources.size(); ++i) EXPECT_EQ(after.resources[i].md5, before.resources[i].md5);
}

}  // namespace
