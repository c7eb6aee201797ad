// Icon groups between executables and .ico files.
#include "resedit/icon_group.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "pe_fixtures.h"

using namespace restest;

namespace {

// Opens a copy of the Hello fixture, runs `edit` and writes the result back.
std::string EditCopy(const std::string& dir, const std::function<void(bvq::ResourceUpdate*)>& edit) {
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  bvq::ResourceUpdate* u = bvq::BeginResourceUpdate(exe, false);
  EXPECT_NE(u, nullptr);
  if (!u) return exe;
  edit(u);
  EXPECT_TRUE(bvq::EndResourceUpdate(u, false));
  return exe;
}

TEST(IconGroup, ReplacingThreeIconsByFiveReusesTheOldIdsInOrder) {
  // The fixture's "MAINICON" uses ids 1, 2, 3 and group 2 uses 4, 5.
  const std::string dir = NewDir("reuse");
  WriteBytes(dir + "/five.ico", MakeIco({16, 24, 32, 48, 64}, 0x00304050));
  const std::string exe = EditCopy(dir, [&](bvq::ResourceUpdate* u) {
    EXPECT_TRUE(bvq::LoadIconGroupFromIco(u, "MAINICON", 0, dir + "/five.ico"));
  });
  const PeFacts facts = ReadPeFacts(exe);
  ASSERT_TRUE(facts.parsed) << facts.text;
  EXPECT_EQ(facts.groups.at("MAINICON/0"), "1,2,3,6,7");
  EXPECT_EQ(facts.groups.at("2/0"), "4,5");
  const auto images = WrestoolGroupImages(exe, "MAINICON");
  ASSERT_TRUE(images);
  ASSERT_EQ(images->size(), 5u);
  EXPECT_EQ((*images)[4].width, 64);
}

TEST(IconGroup, ANewGroupIsNumberedFrom50SkippingUsedIds) {
  const std::string dir = NewDir("from50");
  WriteBytes(dir + "/three.ico", MakeIco({16, 32, 48}, 0x00304050));
  const std::string marker = "occupied";
  const std::string exe = EditCopy(dir, [&](bvq::ResourceUpdate* u) {
    EXPECT_TRUE(bvq::UpdateResourceEntry(u, bvq::kRtIcon, 50, 0, marker.data(), 8));
    EXPECT_TRUE(bvq::UpdateResourceEntry(u, bvq::kRtIcon, 52, 0, marker.data(), 8));
    EXPECT_TRUE(bvq::LoadIconGroupFromIco(u, "NEWGROUP", 0, dir + "/three.ico"));
  });
  const PeFacts facts = ReadPeFacts(exe);
  ASSERT_TRUE(facts.parsed) << facts.text;
  EXPECT_EQ(facts.groups.at("NEWGROUP/0"), "51,53,54");
  EXPECT_EQ(facts.groups.at("MAINICON/0"), "1,2,3");
  ASSERT_TRUE(facts.FindResource("3", "50"));
  EXPECT_EQ(facts.FindResource("3", "50")->md5, Md5(marker));
}

TEST(IconGroup, DeleteRemovesTheGroupAndItsIconsOnly) {
  const std::string dir = NewDir("delete");
  const std::string exe = EditCopy(dir, [&](bvq::ResourceUpdate* u) {
    EXPECT_TRUE(bvq::DeleteIconGroup(u, 2, 0));
    EXPECT_TRUE(bvq::DeleteIconGroup(u, "NOSUCHGROUP", 0));
  });
  const PeFacts facts = ReadPeFacts(exe);
  ASSERT_TRUE(facts.parsed) << facts.text;
  EXPECT_EQ(facts.groups.count("2/0"), 0u);
  EXPECT_EQ(facts.groups.at("MAINICON/0"), "1,2,3");
  for (const char* id : {"1", "2", "3"}) EXPECT_TRUE(facts.FindResource("3", id)) << id;
  for (const char* id : {"4", "5"}) EXPECT_FALSE(facts.FindResource("3", id)) << id;
}

TEST(IconGroup, GroupNamesComeInTreeOrderNamedFirst) {
  const std::string dir = NewDir("names");
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  EXPECT_EQ(bvq::CountIconGroups(exe), 2);
  const auto names = bvq::ListIconGroups(exe);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], bvq::ResName("MAINICON"));
  EXPECT_EQ(names[1], bvq::ResName(2));

  bvq::ResourceUpdate* u = bvq::BeginResourceUpdate(exe, false);
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(bvq::GetIconGroupName(u, 0), bvq::ResName(u"MAINICON"));
  EXPECT_EQ(bvq::GetIconGroupName(u, 1), bvq::ResName(2));
  EXPECT_FALSE(bvq::GetIconGroupName(u, 2));
  EXPECT_FALSE(bvq::GetIconGroupName(u, -1));
  EXPECT_TRUE(bvq::EndResourceUpdate(u, true));

  EXPECT_EQ(bvq::CountIconGroups(CopyFixture(Fixture::NoResources, dir, "nores.exe")), 0);
  WriteBytes(dir + "/text.exe", "not an executable");
  EXPECT_EQ(bvq::CountIconGroups(dir + "/text.exe"), 0);
  EXPECT_EQ(bvq::CountIconGroups(dir + "/missing.exe"), 0);
}

TEST(IconGroup, ExtractWritesAnIcoThatIcotoolLists) {
  const std::string dir = NewDir("extract");
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  const std::string md5 = FileMd5(exe);
  struct Case {
    int index;
    std::vector<int> sizes;
  };
  for (const Case& c : {Case{0, MainIconSizes()}, Case{1, OtherIconSizes()}}) {
    SCOPED_TRACE(c.index);
    const std::string ico = dir + "/group" + std::to_string(c.index) + ".ico";
    ASSERT_TRUE(bvq::ExtractIconGroupToIco(exe, c.index, ico));
    std::string listing;
    ASSERT_EQ(restest::Run("icotool -l " + Quote(ico), &listing), 0) << listing;
    std::string expected;
    for (size_t i = 0; i < c.sizes.size(); ++i) {
      const std::string n = std::to_string(c.sizes[i]);
      expected += "--icon --index=" + std::to_string(i + 1) + " --width=" + n + " --height=" + n +
                  " --bit-depth=32 --palette-size=0\n";
    }
    EXPECT_EQ(listing, expected);
  }
  // The images are those the fixture was built from.
  const auto extracted = ReadIcoImages(ReadBytes(dir + "/group0.ico"));
  const auto source = ReadIcoImages(MakeIco(MainIconSizes(), 0x00C03020));
  ASSERT_EQ(extracted.size(), source.size());
  for (size_t i = 0; i < source.size(); ++i) EXPECT_TRUE(extracted[i].bytes == source[i].bytes) << i;

  EXPECT_FALSE(bvq::ExtractIconGroupToIco(exe, 2, dir + "/none.ico"));
  EXPECT_FALSE(std::filesystem::exists(dir + "/none.ico"));
  EXPECT_FALSE(bvq::AnyLanguage);
  EXPECT_EQ(FileMd5(exe), md5) << "the executable is only read";
}

TEST(IconGroup, SaveGivesBackTheLoadedImagesAndFailsForAMissingGroup) {
  const std::string dir = NewDir("save");
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  const std::string ico = MakeIco({16, 48, 128}, 0x00607080);
  WriteBytes(dir + "/in.ico", ico);
  bvq::ResourceUpdate* u = bvq::BeginResourceUpdate(exe, false);
  ASSERT_NE(u, nullptr);
  ASSERT_TRUE(bvq::LoadIconGroupFromIco(u, "SAVED", 1033, dir + "/in.ico"));
  ASSERT_TRUE(bvq::SaveIconGroupToIco(u, "SAVED", 1033, dir + "/out.ico"));
  EXPECT_TRUE(ReadBytes(dir + "/out.ico") == ico) << "same header, entries, offsets and images";
  EXPECT_FALSE(bvq::SaveIconGroupToIco(u, "SAVED", 0, dir + "/wronglang.ico"));
  EXPECT_FALSE(bvq::SaveIconGroupToIco(u, "MISSING", 0, dir + "/missing.ico"));
  EXPECT_FALSE(std::filesystem::exists(dir + "/wronglang.ico"));
  EXPECT_FALSE(std::filesystem::exists(dir + "/missing.ico"));
  EXPECT_TRUE(bvq::EndResourceUpdate(u, true));
}

TEST(IconGroup, ABadIcoFailsBeforeChangingAnything) {
  const std::string dir = NewDir("badico");
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  std::string truncated = MakeIco({16, 32}, 0x00102030);
  truncated.resize(truncated.size() - 10);
  WriteBytes(dir + "/truncated.ico", truncated);
  WriteBytes(dir + "/empty.ico", std::string("\0\0\1\0\0\0", 6));
  WriteBytes(dir + "/short.ico", "\0\0\1");
  bvq::ResourceUpdate* u = bvq::BeginResourceUpdate(exe, false);
  ASSERT_NE(u, nullptr);
  const void* before = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(bvq::FindResourceEntry(u, bvq::kRtGroupIcon, "MAINICON", 0, &before, &size));
  for (const char* name : {"truncated.ico", "empty.ico", "short.ico", "missing.ico"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(bvq::LoadIconGroupFromIco(u, "MAINICON", 0, dir + "/" + name));
    const void* now = nullptr;
    ASSERT_TRUE(bvq::FindResourceEntry(u, bvq::kRtGroupIcon, "MAINICON", 0, &now, &size));
    EXPECT_EQ(now, before) << "the group still has its original bytes";
    EXPECT_TRUE(bvq::FindResourceEntry(u, bvq::kRtIcon, 3, 0, nullptr, nullptr));
  }
  EXPECT_TRUE(bvq::EndResourceUpdate(u, true));
}

}  // namespace
