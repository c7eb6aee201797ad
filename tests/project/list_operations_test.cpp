#include "project/list_operations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/project_session.h"

namespace bvq {
namespace {

// A list of rows captioned "1".."n" (with a sub-item naming the row too), selection by
// 1-based row numbers.
struct Fixture {
  Project project;
  ProjectSession session{project};
  EntryList& list = project.uninstallDeletions;
  ListSelection selection;

  Fixture(int rows, std::vector<int> selected, int focused = -1) {
    for (int i = 1; i <= rows; ++i) list.AppendCells({std::to_string(i), "path" + std::to_string(i)});
    selection.Fit(list.size());
    for (int s : selected) selection.Selected[static_cast<std::size_t>(s - 1)] = true;
    selection.Focused = focused - 1;
  }
  std::string Order() const {
    std::string out;
    for (const EntryRow& r : list.Rows) out += r.Caption + (r.Cell(1) == "path" + r.Caption ? "" : "!");
    return out;
  }
  std::vector<int> SelectedRows() const {
    std::vector<int> rows;
    for (std::size_t i = 0; i < selection.Selected.size(); ++i)
      if (selection.Selected[i]) rows.push_back(static_cast<int>(i) + 1);
    return rows;
  }
};

TEST(ListButtons, FollowTheFirstSelectedRowAndTheLastRow) {
  struct Case {
    int rows;
    std::vector<int> selected;
    ListButtons expected;  // up, down, copy, edit, delete
  };
  const std::vector<Case> cases = {
      {5, {}, {false, false, false, false, false}},
      {0, {}, {false, false, false, false, false}},
      {1, {1}, {false, false, true, true, true}},
      {5, {1}, {false, true, true, true, true}},
      {5, {3}, {true, true, true, true, true}},
      {5, {5}, {true, false, true, true, true}},
      {5, {2, 3}, {true, true, true, true, true}},
      {5, {1, 3}, {false, true, true, true, true}},
      {5, {2, 5}, {true, false, true, true, true}},  // the last row selected with another
  };
  for (const Case& c : cases) {
    Fixture f(c.rows, c.selected);
    EXPECT_EQ(UpdateListButtons(f.list, f.selection), c.expected) << c.rows << " rows, first " << f.selection.SelectedIndex();
  }
}

TEST(ListPosition, ShowsSelectedRowAndCount) {
  EXPECT_EQ(ListPositionText(Fixture(10, {3}).list, Fixture(10, {3}).selection), "3:10");
  Fixture none(10, {});
  EXPECT_EQ(ListPositionText(none.list, none.selection), "0:10");
  Fixture empty(0, {});
  EXPECT_EQ(ListPositionText(empty.list, empty.selection), "0:0");
  Fixture several(6, {4, 2});
  EXPECT_EQ(ListPositionText(several.list, several.selection), "2:6");
}

TEST(MoveEntries, SelectedRowsMoveTogetherAndKeepTheirGaps) {
  struct Case {
    const char* name;
    int rows;
    std::vector<int> selected;
    bool down;
    std::string order;
    std::vector<int> after;
  };
  const std::vector<Case> cases = {
      {"two adjacent down", 5, {2, 3}, true, "14235", {3, 4}},
      {"two adjacent up", 5, {3, 4}, false, "13425", {2, 3}},
      {"gap down", 5, {1, 3}, true, "21435", {2, 4}},
      {"gap up", 5, {2, 4}, false, "21435", {1, 3}},
      {"last row stays down", 4, {2, 4}, true, "1324", {3, 4}},
      {"block at the top stays", 4, {1, 2, 4}, false, "1243", {1, 2, 3}},
      {"block at the bottom stays", 4, {1, 3, 4}, true, "2134", {2, 3, 4}},
      {"nothing selected", 3, {}, true, "123", {}},
  };
  for (const Case& c : cases) {
    Fixture f(c.rows, c.selected);
    if (c.down) MoveEntriesDown(f.project, f.list, f.selection);
    else MoveEntriesUp(f.project, f.list, f.selection);
    EXPECT_EQ(f.Order(), c.order) << c.name;
    EXPECT_EQ(f.SelectedRows(), c.after) << c.name;
    EXPECT_TRUE(f.session.modified) << c.name;
  }
}

TEST(MoveEntries, DownThenUpRestoresTheList) {
  Fixture f(5, {2, 3});
  MoveEntriesDown(f.project, f.list, f.selection);
  MoveEntriesUp(f.project, f.list, f.selection);
  EXPECT_EQ(f.Order(), "12345");
  EXPECT_EQ(f.SelectedRows(), (std::vector<int>{2, 3}));
}

TEST(DeleteEntries, SelectsTheRowThatTookThePlaceOfTheFirstDeleted) {
  struct Case {
    int rows;
    std::vector<int> selected;
    std::string order;
    std::vector<int> after;
  };
  const std::vector<Case> cases = {
      {6, {2, 4}, "1356", {2}},       // the formerly third row is now second
      {6, {6}, "12345", {5}},         // the last row: the new last row
      {6, {1}, "23456", {1}},
      {3, {1, 2, 3}, "", {}},          // everything: no selection
      {4, {}, "1234", {}},             // nothing selected: nothing deleted
  };
  for (const Case& c : cases) {
    Fixture f(c.rows, c.selected);
    DeleteSelectedEntries(f.project, f.list, f.selection);
    EXPECT_EQ(f.Order(), c.order);
    EXPECT_EQ(f.SelectedRows(), c.after);
    EXPECT_EQ(f.selection.Selected.size(), f.list.size());
    EXPECT_TRUE(f.session.modified);
  }
}

TEST(DeleteEntries, SelectAllThenDeleteEmptiesTheListAndDisablesRowButtons) {
  Fixture f(4, {});
  f.selection.SelectAll();
  DeleteSelectedEntries(f.project, f.list, f.selection);
  EXPECT_TRUE(f.list.empty());
  EXPECT_EQ(UpdateListButtons(f.list, f.selection), ListButtons{});
  EXPECT_EQ(ListPositionText(f.list, f.selection), "0:0");
}

TEST(DuplicateEntry, CopiesTheFocusedRowToTheEnd) {
  Fixture f(5, {2}, /*focused=*/4);
  DuplicateFocusedEntry(f.project, f.list, f.selection);
  EXPECT_EQ(f.Order(), "123454");
  EXPECT_EQ(f.selection.Selected.size(), 6u);

  Fixture none(3, {}, 2);  // nothing selected: no copy, but the project is still marked
  DuplicateFocusedEntry(none.project, none.list, none.selection);
  EXPECT_EQ(none.Order(), "123");
  EXPECT_TRUE(none.session.modified);
}

TEST(SwapEntries, ExchangesEveryCell) {
  Fixture f(3, {});
  SwapEntries(f.list, 0, 2);
  EXPECT_EQ(f.Order(), "321");
  SwapEntries(f.list, 0, 7);  // out of range: nothing
  EXPECT_EQ(f.Order(), "321");
}

}  // namespace
}  // namespace bvq
