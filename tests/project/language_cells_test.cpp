#include "project/language_cells.h"

#include <map>

#include <gtest/gtest.h>

#include "../util/temp_dir.h"
#include "project/language_files.h"

namespace bvq {
namespace {

// Rows of ListView<n>: cells by column (0 the caption).
using Lists = std::map<int, std::vector<std::vector<std::string>>>;

CellVisitor VisitorOf(Lists& lists) {
  return [&lists](int list, int column, const std::function<void(std::string&)>& rewrite) {
    for (auto& row : lists[list])
      if (column < static_cast<int>(row.size())) rewrite(row[column]);
  };
}

InterfaceStringTable Table(std::initializer_list<std::pair<int, std::string>> entries) {
  InterfaceStringTable t;
  for (const auto& [n, s] : entries) t[n] = s;
  return t;
}

class Retranslate : public ::testing::Test {
 protected:
  void SetUp() override {
    english_ = dir_.Write("English.lng",
                          "[Strings]\n26=<folder>\n47=Application\n48=Shell#32execution\n52=Desktop\n"
                          "62=Yes\n63=No\n93=Before\n94=After\n109=U-Before\n110=U-After\n"
                          "143=File\n236=Replace\n237=Replace if newer\n");
  }
  test::TempDir dir_;
  std::string english_;
  InterfaceStringTable german_ = Table({{26, "<Ordner>"}, {47, "Anwendung"}, {48, "Shell-Aufruf"},
                                        {52, "Desktop"}, {62, "Ja"}, {63, "Nein"}, {93, "Vorher"},
                                        {94, "Nachher"}, {109, "D-Vorher"}, {110, "D-Nachher"},
                                        {143, "Datei"}, {236, "Ersetzen"}, {237, "Ersetzen wenn neuer"}});
};

TEST_F(Retranslate, FileEntryYesBecomesTheNewLanguagesYes) {
  Lists lists;
  lists[3] = {{"/src/a.txt", "%InstallPath%\\a.txt", "Replace if newer", "Yes"},
              {"<folder>", "%InstallPath%\\empty", "Replace", "No"}};
  ASSERT_TRUE(RetranslateCells("English", english_, "German", german_, VisitorOf(lists)));
  EXPECT_EQ(lists[3][0], (std::vector<std::string>{"/src/a.txt", "%InstallPath%\\a.txt", "Ersetzen wenn neuer", "Ja"}));
  EXPECT_EQ(lists[3][1], (std::vector<std::string>{"<Ordner>", "%InstallPath%\\empty", "Ersetzen", "Nein"}));
}

TEST_F(Retranslate, OnlyTheLocalisedColumnsChange) {
  Lists lists;
  // A destination that happens to read "Yes" is not a localised cell.
  lists[3] = {{"/src/Yes", "Yes", "Replace", "Yes"}};
  // Commands: the type cell was written with an escape in the file; the uninstaller's when
  // cell holds its own strings.
  lists[4] = {{"Shell execution", "cmd", "", "Normal", "After", "Yes"}};
  lists[6] = {{"Application", "cmd", "", "Hide", "U-Before", "No"}};
  lists[7] = {{"File", "%InstallPath%\\x"}};
  lists[8] = {{"Yes", "No"}};
  RetranslateCells("English", english_, "German", german_, VisitorOf(lists));
  EXPECT_EQ(lists[3][0][0], "/src/Yes");
  EXPECT_EQ(lists[3][0][1], "Yes");
  EXPECT_EQ(lists[3][0][3], "Ja");
  EXPECT_EQ(lists[4][0], (std::vector<std::string>{"Shell-Aufruf", "cmd", "", "Normal", "Nachher", "Ja"}));
  EXPECT_EQ(lists[6][0], (std::vector<std::string>{"Anwendung", "cmd", "", "Hide", "D-Vorher", "Nein"}));
  EXPECT_EQ(lists[7][0][0], "Datei");
  EXPECT_EQ(lists[8][0], (std::vector<std::string>{"Yes", "Nein"}));
}

TEST_F(Retranslate, SameLanguageOrUnreadableOldFileChangesNothing) {
  Lists lists;
  lists[3] = {{"a", "b", "Replace", "Yes"}};
  Lists before = lists;
  EXPECT_FALSE(RetranslateCells("English", english_, "English", german_, VisitorOf(lists)));
  EXPECT_FALSE(RetranslateCells("Gone", dir_.Path() + "Gone.lng", "German", german_, VisitorOf(lists)));
  EXPECT_EQ(lists, before);
}

TEST(RetranslateCell, ACellIsReplacedOnceEvenWhenLanguagesShareAWord) {
  // Old 62 "Yes", old 63 "Ja", new 62 "Ja": a yes cell becomes the new yes and must not then
  // be taken for the old no.
  InterfaceStringTable oldRaw = Table({{62, "Yes"}, {63, "Ja"}});
  InterfaceStringTable now = Table({{62, "Ja"}, {63, "Nein"}});
  std::string yes = "Yes", no = "Ja";
  RetranslateCell(yes, 62, 63, oldRaw, now);
  RetranslateCell(no, 62, 63, oldRaw, now);
  EXPECT_EQ(yes, "Ja");
  EXPECT_EQ(no, "Nein");
  // The first matching index wins when the old language has the same text twice.
  std::string both = "X";
  RetranslateCell(both, 62, 63, Table({{62, "X"}, {63, "X"}}), now);
  EXPECT_EQ(both, "Ja");
}

}  // namespace
}  // namespace bvq
