#pragma once
// The editing machinery shared by the eleven entry lists: which list buttons are enabled, the
// position indicator, deleting, moving and duplicating rows. The window keeps its selection in
// a ListSelection parallel to the rows and calls these after every click.
#include <string>
#include <vector>

#include "project/project.h"

namespace bvq {

// Selection state of one list: a flag per row and the row with the keyboard focus.
struct ListSelection {
  std::vector<bool> Selected;
  int Focused = -1;

  // First selected row in list order; -1 when none.
  int SelectedIndex() const;
  bool IsSelected(std::size_t row) const { return row < Selected.size() && Selected[row]; }
  // Selects exactly `row` and gives it the focus (-1 clears the selection).
  void SelectOnly(int row);
  // Selects every row (Ctrl+A).
  void SelectAll();
  // Keeps one flag per row: new rows unselected, a focus past the end dropped.
  void Fit(std::size_t rowCount);
};

// The row of buttons under a list (add and add-folder are always enabled).
struct ListButtons {
  bool Up = false;
  bool Down = false;
  bool Copy = false;
  bool Edit = false;
  bool Delete = false;
  bool operator==(const ListButtons&) const = default;
};

ListButtons UpdateListButtons(const EntryList& list, const ListSelection& selection);

// Status bar text r + ":" + n: r the 1-based position of the selected row (0 when none), n the
// number of rows.
std::string ListPositionText(const EntryList& list, const ListSelection& selection);

// Deletes every selected row and selects the row that took the place of the first deleted one
// (the last row when that place is past the end). Marks the project modified in every case.
void DeleteSelectedEntries(Project& project, EntryList& list, ListSelection& selection);

// Moves every selected row up (down) by one place; the selection moves with the rows and gaps
// between selected rows stay; a run of selected rows at the top (bottom) stays. Marks modified.
void MoveEntriesUp(Project& project, EntryList& list, ListSelection& selection);
void MoveEntriesDown(Project& project, EntryList& list, ListSelection& selection);

// Exchanges the contents of rows i and j; the selection is the caller's business.
void SwapEntries(EntryList& list, std::size_t i, std::size_t j);

// When a row is selected, appends a copy of the focused row (of the selected row when no row
// has the focus) at the end of the list. Marks modified in every case.
void DuplicateFocusedEntry(Project& project, EntryList& list, ListSelection& selection);

}  // namespace bvq
