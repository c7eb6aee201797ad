#pragma once
// What every entry dialog shares: add or edit mode, the yes/no cells, the outcome of OK and
// writing its rows into a list. The dialogs only collect their fields and call the rules of
// their list (file_entries.h, shortcut_entries.h, ...), which end here.
#include <string>
#include <vector>

#include "project/project.h"

namespace bvq {

enum class EntryMode { Add, Edit };

// The caption carries the mode: edit exactly when it equals interface string 85.
EntryMode EntryModeOfCaption(const std::string& caption);
// Caption a list button gives its dialog: interface string 82 (add) or 85 (edit).
const std::string& EntryDialogCaption(EntryMode mode);

// Where OK writes: add mode appends, edit mode overwrites row `Row` (the selected row).
struct EntryPlace {
  EntryMode Mode = EntryMode::Add;
  int Row = -1;
  static EntryPlace Add() { return {}; }
  static EntryPlace Edit(int row) { return {EntryMode::Edit, row}; }
};

// The row an edit-mode dialog shows and overwrites; nullptr in add mode or for a row that
// does not exist.
const EntryRow* EditedRow(const EntryList& list, const EntryPlace& place);

// The "yes" and "no" cells: interface strings 62 and 63.
const std::string& YesNoCell(bool yes);
bool IsYesCell(const std::string& cell);

// Result of a dialog's OK. A refusal names the control to focus, or a warning to show; the
// dialog stays open in both cases.
struct EntryOutcome {
  bool Accepted = false;
  std::string Focus;    // control name ("LabeledEdit1"), or ""
  std::string Warning;  // message text, or ""

  static EntryOutcome Done() { return {true, {}, {}}; }
  static EntryOutcome FocusOn(std::string control) { return {false, std::move(control), {}}; }
  static EntryOutcome Warn(std::string message) { return {false, {}, std::move(message)}; }
};

// Writes an accepted dialog's rows: add mode appends them in order; edit mode overwrites the
// place's row with the single row given, so the row keeps its position. Then MarkModified.
// Edit mode without a valid row (or with other than one row) changes nothing and is refused.
EntryOutcome WriteEntryRows(Project& project, EntryList& list, const EntryPlace& place,
                            std::vector<EntryRow> rows);

// Index of the item whose text equals `text`; `fallback` when none does.
int FindItem(const std::vector<std::string>& items, const std::string& text, int fallback);

}  // namespace bvq
