#include "project/entry_dialog.h"

#include <algorithm>

#include "project/interface_strings.h"
#include "project/interface_text_ids.h"

namespace bvq {

EntryMode EntryModeOfCaption(const std::string& caption) {
  return caption == InterfaceString(kTextEdit) ? EntryMode::Edit : EntryMode::Add;
}

const std::string& EntryDialogCaption(EntryMode mode) {
  return InterfaceString(mode == EntryMode::Edit ? kTextEdit : kTextAdd);
}

const EntryRow* EditedRow(const EntryList& list, const EntryPlace& place) {
  if (place.Mode != EntryMode::Edit || place.Row < 0 || static_cast<std::size_t>(place.Row) >= list.size())
    return nullptr;
  return &list[static_cast<std::size_t>(place.Row)];
}

const std::string& YesNoCell(bool yes) { return InterfaceString(yes ? kTextYes : kTextNo); }

bool IsYesCell(const std::string& cell) { return cell == InterfaceString(kTextYes); }

EntryOutcome WriteEntryRows(Project& project, EntryList& list, const EntryPlace& place,
                            std::vector<EntryRow> rows) {
  if (place.Mode == EntryMode::Edit) {
    if (EditedRow(list, place) == nullptr || rows.size() != 1) return {};
    list.Replace(static_cast<std::size_t>(place.Row), std::move(rows.front()));
  } else {
    for (EntryRow& row : rows) list.Append(std::move(row));
  }
  project.MarkModified();
  return EntryOutcome::Done();
}

int FindItem(const std::vector<std::string>& items, const std::string& text, int fallback) {
  auto it = std::find(items.begin(), items.end(), text);
  return it == items.end() ? fallback : static_cast<int>(it - items.begin());
}

}  // namespace bvq
