#include "project/list_operations.h"

#include <utility>

namespace bvq {

int ListSelection::SelectedIndex() const {
  for (std::size_t i = 0; i < Selected.size(); ++i)
    if (Selected[i]) return static_cast<int>(i);
  return -1;
}

void ListSelection::SelectOnly(int row) {
  Selected.assign(Selected.size(), false);
  if (row >= 0 && static_cast<std::size_t>(row) < Selected.size()) {
    Selected[static_cast<std::size_t>(row)] = true;
    Focused = row;
  }
}

void ListSelection::SelectAll() { Selected.assign(Selected.size(), true); }

void ListSelection::Fit(std::size_t rowCount) {
  Selected.resize(rowCount, false);
  if (Focused >= static_cast<int>(rowCount)) Focused = -1;
}

ListButtons UpdateListButtons(const EntryList& list, const ListSelection& selection) {
  const int s = selection.SelectedIndex();
  const int n = static_cast<int>(list.size());
  ListButtons b;
  b.Copy = b.Edit = b.Delete = s >= 0;
  b.Up = s > 0 && n > 1;
  b.Down = s >= 0 && s < n - 1 && n > 1 && !selection.IsSelected(static_cast<std::size_t>(n - 1));
  return b;
}

std::string ListPositionText(const EntryList& list, const ListSelection& selection) {
  return std::to_string(selection.SelectedIndex() + 1) + ":" + std::to_string(list.size());
}

void DeleteSelectedEntries(Project& project, EntryList& list, ListSelection& selection) {
  selection.Fit(list.size());
  if (selection.SelectedIndex() >= 0) {
    std::size_t lowest = 0;
    for (std::size_t i = list.size(); i-- > 0;) {
      if (!selection.Selected[i]) continue;
      list.Rows.erase(list.Rows.begin() + static_cast<std::ptrdiff_t>(i));
      selection.Selected.erase(selection.Selected.begin() + static_cast<std::ptrdiff_t>(i));
      lowest = i;
    }
    selection.Focused = -1;
    if (!list.empty()) selection.SelectOnly(static_cast<int>(std::min(lowest, list.size() - 1)));
  }
  project.MarkModified();
}

void SwapEntries(EntryList& list, std::size_t i, std::size_t j) {
  if (i < list.size() && j < list.size()) std::swap(list.Rows[i], list.Rows[j]);
}

// A selected row moves past its unselected neighbour. A run of selected rows at the end it
// moves towards stays in place, so rows never pass each other (the buttons are disabled then,
// but the operations stay sound on their own).
void MoveEntriesUp(Project& project, EntryList& list, ListSelection& selection) {
  selection.Fit(list.size());
  bool blocked = true;  // the place above row 0 is taken
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (!selection.Selected[i]) {
      blocked = false;
    } else if (!blocked) {
      SwapEntries(list, i, i - 1);
      selection.Selected[i] = false;
      selection.Selected[i - 1] = true;
    }
  }
  project.MarkModified();
}

void MoveEntriesDown(Project& project, EntryList& list, ListSelection& selection) {
  selection.Fit(list.size());
  bool blocked = true;  // the place below the last row is taken
  for (std::size_t i = list.size(); i-- > 0;) {
    if (!selection.Selected[i]) {
      blocked = false;
    } else if (!blocked) {
      SwapEntries(list, i, i + 1);
      selection.Selected[i] = false;
      selection.Selected[i + 1] = true;
    }
  }
  project.MarkModified();
}

void DuplicateFocusedEntry(Project& project, EntryList& list, ListSelection& selection) {
  selection.Fit(list.size());
  const int selected = selection.SelectedIndex();
  if (selected >= 0) {
    const int source = selection.Focused >= 0 ? selection.Focused : selected;
    list.Append(EntryRow(list[static_cast<std::size_t>(source)]));
    selection.Fit(list.size());
  }
  project.MarkModified();
}

}  // namespace bvq
