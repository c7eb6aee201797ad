#include "project/language_apply.h"

namespace bvq {
namespace {

void AddRange(std::vector<StringTarget>& t, int first, int last, StringTargetKind kind, const std::string& control,
              int firstPosition) {
  for (int n = first; n <= last; ++n) t.push_back({n, kind, control, firstPosition + (n - first)});
}

std::vector<StringTarget> BuildTargets() {
  using K = StringTargetKind;
  std::vector<StringTarget> t;
  AddRange(t, 0, 4, K::MenuTitle, "ActionMainMenuBar1", 0);
  t.push_back({7, K::ComboItem, "LicenseComboBox", 0});
  t.push_back({7, K::ComboItem, "InfoComboBox", 0});
  t.push_back({9, K::MenuItem, "FileMenu", 2});
  AddRange(t, 10, 11, K::ColumnHeading, "ListView11", 0);
  t.push_back({13, K::ColumnHeading, "ListView4", 4});
  t.push_back({13, K::ColumnHeading, "ListView6", 4});
  AddRange(t, 18, 19, K::ComboItem, "ComboBox2", 0);
  AddRange(t, 28, 29, K::ColumnHeading, "ListView8", 0);
  AddRange(t, 31, 34, K::ColumnHeading, "ListView4", 0);
  AddRange(t, 31, 34, K::ColumnHeading, "ListView6", 0);
  AddRange(t, 35, 39, K::ColumnHeading, "ListView10", 0);
  AddRange(t, 40, 43, K::ColumnHeading, "ListView3", 0);
  t.push_back({96, K::ColumnHeading, "ListView4", 5});
  t.push_back({96, K::ColumnHeading, "ListView6", 5});
  AddRange(t, 107, 108, K::ColumnHeading, "ListView7", 0);
  AddRange(t, 139, 140, K::ComboItem, "ComboBox7", 0);
  AddRange(t, 146, 148, K::ColumnHeading, "ListView2", 0);
  AddRange(t, 146, 148, K::ColumnHeading, "ListView9", 0);
  AddRange(t, 149, 152, K::ColumnHeading, "ListView2", 3);
  AddRange(t, 153, 158, K::ColumnHeading, "ListView5", 0);
  AddRange(t, 195, 197, K::ComboItem, "ComboBox1", 0);
  for (int n = 199; n <= 214; ++n) t.push_back({n, K::Caption, "MenuItem" + std::to_string(n - 198), 0});
  AddRange(t, 215, 221, K::ColumnHeading, "ListView1", 0);
  AddRange(t, 228, 230, K::ComboItem, "ComboBox8", 0);
  AddRange(t, 231, 233, K::ComboItem, "ComboBox9", 0);
  AddRange(t, 231, 233, K::ComboItem, "ComboBox10", 0);
  AddRange(t, 239, 243, K::ComboItem, "ComboBox4", 0);
  AddRange(t, 244, 255, K::ComboItem, "ComboBox5", 0);
  return t;
}

}  // namespace

const std::vector<StringTarget>& MainFormStringTargets() {
  static const std::vector<StringTarget> targets = BuildTargets();
  return targets;
}

const std::vector<std::string>& RememberedComboBoxes() {
  static const std::vector<std::string> names = {"ComboBox1", "ComboBox2", "ComboBox4", "ComboBox5",
                                                 "ComboBox7", "ComboBox8", "ComboBox9", "ComboBox10",
                                                 "LicenseComboBox", "InfoComboBox"};
  return names;
}

TextUse TextUseFor(ComponentKind kind) {
  switch (kind) {
    case ComponentKind::ImageButton:
    case ComponentKind::SpeedButton:
    case ComponentKind::ToolButton:
      return TextUse::Hint;
    case ComponentKind::LabeledEdit:
      return TextUse::LabelCaption;
    default:
      return TextUse::Caption;
  }
}

}  // namespace bvq
