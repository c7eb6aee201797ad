#include "project/variable_menu.h"

#include <algorithm>

namespace bvq {
namespace {

constexpr const char* kSeparatorName = "AddVarMenuDel";
constexpr const char* kUserItemPrefix = "AddVarMenu";

std::vector<VariableMenuItem> FixedItems() {
  auto item = [](const char* name, const char* caption) { return VariableMenuItem{name, caption, false}; };
  const VariableMenuItem separator{"", "", true};
  return {item("Var1", "%ProductName%"),   item("Var2", "%ProductVersion%"), item("Var3", "%CompanyName%"),
          separator,
          item("Var6", "%InstallPath%"),   item("Var7", "%Language%"),       item("Var4", "%UserName%"),
          item("Var5", "%ComputerName%"),
          separator,
          item("Var8", "%ProgramFiles%"),  item("Var21", "%ProgramFiles64%"), item("Var9", "%WindowsDir%"),
          item("Var10", "%SystemDir%"),    item("Var11", "%CommonFiles%"),   item("Var12", "%TempDir%"),
          item("Var13", "%Desktop%"),      item("Var14", "%ProgramsDir%"),   item("Var15", "%StartMenu%"),
          item("Var16", "%Favorites%"),    item("Var17", "%StartUp%"),       item("Var18", "%Templates%"),
          item("Var19", "%AppData%"),      item("Var20", "%SystemDrive%")};
}

}  // namespace

VariableMenu::VariableMenu() : items_(FixedItems()) {}

void VariableMenu::Update(const EntryList& variables) {
  const int n = static_cast<int>(variables.size());
  auto named = [this](const std::string& name) {
    return std::find_if(items_.begin(), items_.end(), [&](const VariableMenuItem& i) { return i.Name == name; });
  };
  if (n == 0) {
    if (auto it = named(kSeparatorName); it != items_.end()) items_.erase(it);
  } else if (named(kSeparatorName) == items_.end()) {
    items_.push_back({kSeparatorName, "", true});
  }
  // Items of rows that no longer exist.
  for (int k = n; k < userItemCount_; ++k)
    if (auto it = named(kUserItemPrefix + std::to_string(k)); it != items_.end()) items_.erase(it);
  for (int k = 0; k < n; ++k) {
    const std::string name = kUserItemPrefix + std::to_string(k);
    auto it = named(name);
    if (it == items_.end()) {
      items_.push_back({name, "", false});
      it = items_.end() - 1;
      userItemCount_ = k + 1;
    }
    it->Caption = variables[static_cast<std::size_t>(k)].Caption;
  }
}

InsertedVariable InsertVariable(const std::string& text, std::size_t selectionStart, std::size_t selectionLength,
                                const std::string& variable) {
  const std::size_t start = std::min(selectionStart, text.size());
  const std::size_t length = std::min(selectionLength, text.size() - start);
  InsertedVariable result{text, start + variable.size()};
  result.Text.replace(start, length, variable);
  return result;
}

}  // namespace bvq
