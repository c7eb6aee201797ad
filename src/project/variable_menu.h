#pragma once
// The variable menu that every variable button opens: fixed items for the built-in variables
// most often typed, then, after a separator, one item per user variable of `registryVariables`.
// The window shows the items as they stand here and calls InsertVariable on a click.
#include <cstddef>
#include <string>
#include <vector>

#include "project/project.h"

namespace bvq {

struct VariableMenuItem {
  std::string Name;     // object name ("Var1", "AddVarMenu0", "AddVarMenuDel"); "" for a fixed separator
  std::string Caption;  // variable name inserted on a click; "" for a separator
  bool Separator = false;
  bool operator==(const VariableMenuItem&) const = default;
};

class VariableMenu {
 public:
  // The fixed items only.
  VariableMenu();

  // Brings the user-variable part in line with `variables` (the project's
  // `registryVariables`): the separator when there are rows, then exactly one item per row
  // in list order, captioned with its name.
  void Update(const EntryList& variables);

  const std::vector<VariableMenuItem>& Items() const { return items_; }
  // User-variable items created so far (the highest row number served plus one).
  int UserVariableItemCount() const { return userItemCount_; }

 private:
  std::vector<VariableMenuItem> items_;
  int userItemCount_ = 0;
};

// Text of an edit box after a variable was chosen: the selection (start, length; bytes) is
// replaced by `variable`, and the caret goes right after it.
struct InsertedVariable {
  std::string Text;
  std::size_t Caret = 0;
};
InsertedVariable InsertVariable(const std::string& text, std::size_t selectionStart, std::size_t selectionLength,
                                const std::string& variable);

}  // namespace bvq
