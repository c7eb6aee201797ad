// The resource tree: lookups, insertion order, the deletion rules, leaf storage and write-back.
#include "resedit/resource_update.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "pe_fixtures.h"
#include "resedit/icon_group.h"
#include "resedit/resource_locate.h"

using namespace restest;

namespace {

// "10{5[0,1033],7[0]}" : types, names and languages of the tree.
std::string Render(const bvq::ResourceNode* dir) {
  std::string s;
  for (const bvq::ResourceNode* c = dir->FirstChild; c; c = c->Next) {
    if (!s.empty()) s += ",";
    s += c->Name.empty() ? std::to_string(c->Id) : bvq::ResName(c->Name).ToString();
    if (c->IsDirectory) {
      const bool leaves = c->FirstChild && !c->FirstChild->IsDirectory;
      s += (leaves ? "[" : "{") + Render(c) + (leaves ? "]" : "}");
    }
  }
  return s;
}

const bvq::ResourceNode* Child(const bvq::ResourceNode* dir, const bvq::ResName& key) {
  for (const bvq::ResourceNode* c = dir ? dir->FirstChild : nullptr; c; c = c->Next)
    if (key.IsId() ? c->Name.empty() && c->Id == key.Id() : c->Name == key.Name()) return c;
  return nullptr;
}

class TreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = NewDir("tree");
    exe_ = CopyFixture(Fixture::Hello, dir_);
    u_ = bvq::BeginResourceUpdate(exe_, true);
    ASSERT_NE(u_, nullptr);
  }
  void TearDown() override {
    if (u_) EXPECT_TRUE(bvq::EndResourceUpdate(u_, true));
  }
  bool Add(const bvq::ResName& type, const bvq::ResName& name, uint16_t lang, const std::string& data = "x") {
    return bvq::UpdateResourceEntry(u_, type, name, lang, data.data(), static_cast<uint32_t>(data.size()));
  }
  bool Delete(const bvq::ResName& type, const bvq::ResName& name, uint16_t lang) {
    return bvq::UpdateResourceEntry(u_, type, name, lang, nullptr, 0);
  }
  std::string Tree() const { return Render(bvq::ResourceRoot(u_)); }

  std::string dir_, exe_;
  bvq::ResourceUpdate* u_ = nullptr;
};

TEST_F(TreeTest, ChildrenKeepNamedEntriesFirstThenIdsAscending) {
  EXPECT_EQ(Tree(), "");
  ASSERT_TRUE(Add(10, "b", 0));
  ASSERT_TRUE(Add(10, 5, 0));
  ASSERT_TRUE(Add(10, "B", 0));
  ASSERT_TRUE(Add(10, 2, 1049));
  ASSERT_TRUE(Add(10, 2, 1033));
  ASSERT_TRUE(Add(3, 1, 0));
  ASSERT_TRUE(Add("TYPE", 1, 0));
  EXPECT_EQ(Tree(), "TYPE{1[0]},3{1[0]},10{B[0],b[0],2[1033,1049],5[0]}");
  const bvq::ResourceNode* rc = Child(bvq::ResourceRoot(u_), 10);
  ASSERT_NE(rc, nullptr);
  EXPECT_EQ(rc->NamedCount, 2u);
  EXPECT_EQ(rc->IdCount, 2u);
  EXPECT_EQ(bvq::ResourceRoot(u_)->NamedCount, 1u);
  EXPECT_EQ(bvq::ResourceRoot(u_)->IdCount, 2u);
}

TEST_F(TreeTest, DeletionFollowsTheRulesOfWhatWasFound) {
  struct Case {
    const char* what;
    int type, name, lang;
    const char* after;
  };
  const Case cases[] = {
      {"found leaf: then empty name and type directories go", 11, 1, 0, "10{5[0,1033],7[0]},12{3[1033,1049]}"},
      {"found leaf: name directory stays while it has languages", 10, 5, 1033,
       "10{5[0],7[0]},11{1[0]},12{3[1033,1049]}"},
      {"language 0 not found: the whole name directory goes", 12, 3, 0, "10{5[0,1033],7[0]},11{1[0]}"},
      {"other language not found: nothing", 10, 7, 2052, "10{5[0,1033],7[0]},11{1[0]},12{3[1033,1049]}"},
      {"name 0 and language 0 not found: the whole type goes", 10, 0, 0, "11{1[0]},12{3[1033,1049]}"},
      {"name not found otherwise: nothing", 10, 9, 0, "10{5[0,1033],7[0]},11{1[0]},12{3[1033,1049]}"},
      {"type not found: nothing", 13, 0, 0, "10{5[0,1033],7[0]},11{1[0]},12{3[1033,1049]}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(bvq::EndResourceUpdate(u_, true));
    u_ = bvq::BeginResourceUpdate(exe_, true);
    ASSERT_NE(u_, nullptr);
    for (auto [t, n, l] : {std::tuple{10, 5, 0}, {10, 5, 1033}, {10, 7, 0}, {11, 1, 0}, {12, 3, 1033}, {12, 3, 1049}})
      ASSERT_TRUE(Add(t, n, static_cast<uint16_t>(l)));
    EXPECT_TRUE(Delete(c.type, c.name, static_cast<uint16_t>(c.lang)));
    EXPECT_EQ(Tree(), c.after);
  }
}

TEST_F(TreeTest, ReplacingKeepsThePlaceAndNewBytesHaveNoSourceAddress) {
  ASSERT_TRUE(Add(10, 4, 0, "first"));
  ASSERT_TRUE(Add(10, 4, 0, "second, longer"));
  EXPECT_EQ(Tree(), "10{4[0]}");
  const void* data = reinterpret_cast<const void*>(1);
  uint32_t size = 0;
  ASSERT_TRUE(bvq::FindResourceEntry(u_, 10, 4, 0, &data, &size));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 14u);
  EXPECT_FALSE(bvq::FindResourceEntry(u_, 10, 4, 1033, &data, &size));
  bvq::AnyLanguage = true;
  EXPECT_TRUE(bvq::FindResourceEntry(u_, 10, 4, 1033, &data, &size));
  bvq::AnyLanguage = false;
}

TEST_F(TreeTest, InvalidNamesAreRefused) {
  EXPECT_FALSE(Add(0x10000, 1, 0));
  EXPECT_FALSE(Add(10, -1, 0));
  EXPECT_FALSE(Add(10, "", 0));
  EXPECT_FALSE(bvq::UpdateResourceEntry(nullptr, 10, 1, 0, "x", 1));
  EXPECT_EQ(Tree(), "");
}

TEST(ResourceUpdate, LeavesAbove32768BytesGoToRemovedTemporaryFiles) {
  const std::string dir = NewDir("leaves");
  const std::string tmp = NewDir("tmpdir");
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  std::string atLimit(32768, '\0'), aboveLimit(32769, '\0');
  for (size_t i = 0; i < aboveLimit.size(); ++i) aboveLimit[i] = static_cast<char>(i * 7 + 1);
  atLimit.assign(aboveLimit, 1, 32768);
  const char* oldTmp = std::getenv("TMPDIR");
  const std::string savedTmp = oldTmp ? oldTmp : "";
  setenv("TMPDIR", tmp.c_str(), 1);
  for (bool discard : {true, false}) {
    SCOPED_TRACE(discard ? "discarded" : "written");
    bvq::ResourceUpdate* u = bvq::BeginResourceUpdate(exe, false);
    ASSERT_NE(u, nullptr);
    ASSERT_TRUE(bvq::UpdateResourceEntry(u, 10, "ATLIMIT", 0, atLimit.data(), 32768));
    ASSERT_TRUE(bvq::UpdateResourceEntry(u, 10, "ABOVE", 0, aboveLimit.data(), 32769));
    const bvq::ResourceNode* rc = Child(bvq::ResourceRoot(u), 10);
    const bvq::ResourceNode* inMemory = Child(Child(rc, "ATLIMIT"), 0);
    const bvq::ResourceNode* inFile = Child(Child(rc, "ABOVE"), 0);
    ASSERT_TRUE(inMemory && inFile);
    EXPECT_EQ(inMemory->Data.size(), 32768u);
    EXPECT_EQ(inMemory->TempFile, -1);
    EXPECT_TRUE(inFile->Data.empty());
    EXPECT_GE(inFile->TempFile, 0);
    std::vector<uint8_t> back;
    ASSERT_TRUE(bvq::ReadLeafBytes(*inFile, back));
    EXPECT_TRUE(std::string(back.begin(), back.end()) == aboveLimit);
    EXPECT_TRUE(std::filesystem::is_empty(tmp)) << "temporary files have no name once created";
    EXPECT_TRUE(bvq::EndResourceUpdate(u, discard));
    EXPECT_TRUE(std::filesystem::is_empty(tmp));
  }
  if (oldTmp) setenv("TMPDIR", savedTmp.c_str(), 1);
  else unsetenv("TMPDIR");
  const PeFacts facts = ReadPeFacts(exe);
  ASSERT_TRUE(facts.parsed) << facts.text;
  ASSERT_TRUE(facts.FindResource("10", "ATLIMIT") && facts.FindResource("10", "ABOVE"));
  EXPECT_EQ(facts.FindResource("10", "ATLIMIT")->md5, Md5(atLimit));
  EXPECT_EQ(facts.FindResource("10", "ABOVE")->md5, Md5(aboveLimit));
  EXPECT_EQ(facts.storedChecksum, facts.generatedChecksum);
}

TEST(ResourceUpdate, AnUnchangedWriteBackKeepsEveryResource) {
  const std::string dir = NewDir("unchanged");
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  const PeFacts before = ReadPeFacts(exe);
  bvq::ResourceUpdate* u = bvq::BeginResourceUpdate(exe, false);
  ASSERT_NE(u, nullptr);
  // Bytes found are those of the file as opened.
  const void* data = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(bvq::FindResourceEntry(u, 10, "BLOB", 0, &data, &size));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(Md5(std::string(static_cast<const char*>(data), size)), before.FindResource("10", "BLOB")->md5);
  ASSERT_TRUE(bvq::EndResourceUpdate(u, false));
  const PeFacts after = ReadPeFacts(exe);
  ASSERT_TRUE(after.parsed) << after.text;
  EXPECT_EQ(after.warnings, 0u) << after.text;
  EXPECT_EQ(after.storedChecksum, after.generatedChecksum);
  ASSERT_EQ(after.resources.size(), before.resources.size());
  for (size_t i = 0; i < before.resources.size(); ++i) {
    EXPECT_EQ(after.resources[i].type, before.resources[i].type);
    EXPECT_EQ(after.resources[i].name, before.resources[i].name);
    EXPECT_EQ(after.resources[i].md5, before.resources[i].md5);
  }
}

TEST(ResourceUpdate, DeleteExistingLeavesAnEmptyResourceDirectory) {
  const std::string dir = NewDir("empty");
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  bvq::ResourceUpdate* u = bvq::BeginResourceUpdate(exe, true);
  ASSERT_NE(u, nullptr);
  EXPECT_FALSE(bvq::FindResourceEntry(u, bvq::kRtGroupIcon, "MAINICON", 0, nullptr, nullptr));
  ASSERT_TRUE(bvq::EndResourceUpdate(u, false));
  const PeFacts after = ReadPeFacts(exe);
  ASSERT_TRUE(after.parsed) << after.text;
  EXPECT_TRUE(after.resources.empty());
  EXPECT_EQ(after.dirs[2].second, 16u);
  EXPECT_EQ(after.storedChecksum, after.generatedChecksum);
}

TEST(ResourceUpdate, TheFileIsHeldExclusively) {
  const std::string dir = NewDir("exclusive");
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  bvq::ResourceUpdate* first = bvq::BeginResourceUpdate(exe, false);
  ASSERT_NE(first, nullptr);
  errno = 0;
  EXPECT_EQ(bvq::BeginResourceUpdate(exe, false), nullptr);
  EXPECT_EQ(errno, EBUSY);
  EXPECT_TRUE(bvq::EndResourceUpdate(first, true));
  bvq::ResourceUpdate* again = bvq::BeginResourceUpdate(exe, false);
  EXPECT_NE(again, nullptr);
  EXPECT_TRUE(bvq::EndResourceUpdate(again, true));
}

TEST(ResourceLocate, FindsTheVersionResourceBeforeAndAfterAnIconReplacement) {
  const std::string dir = NewDir("locate");
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  WriteBytes(dir + "/big.ico", MakeIco({16, 256}, 0x00102030));
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    const PeFacts facts = ReadPeFacts(exe);
    const auto* version = facts.FindResource("16", "1");
    ASSERT_TRUE(version);
    const auto located = bvq::LocateVersionResource(exe);
    ASSERT_TRUE(located);
    EXPECT_EQ(located->fileOffset, version->offset);
    EXPECT_EQ(located->size, version->size);
    EXPECT_EQ(located->language, 0);
    const std::string bytes = ReadBytes(exe).substr(located->fileOffset, located->size);
    EXPECT_EQ(bytes.substr(6, 30), std::string("V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O\0", 30));
    if (round == 0) {
      bvq::ResourceUpdate* u = bvq::BeginResourceUpdate(exe, false);
      ASSERT_NE(u, nullptr);
      ASSERT_TRUE(bvq::LoadIconGroupFromIco(u, "MAINICON", 0, dir + "/big.ico"));
      ASSERT_TRUE(bvq::EndResourceUpdate(u, false));
    }
  }
  EXPECT_FALSE(bvq::LocateResource(exe, 16, 1, uint16_t{1033}));
  EXPECT_FALSE(bvq::LocateVersionResource(CopyFixture(Fixture::NoResources, dir, "nores.exe")));
}

}  // namespace
