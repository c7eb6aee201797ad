#pragma once
// What applying an interface language puts where: the interface strings that the main
// window places into its controls, the combo boxes whose selection survives a switch, and how a window section's text is used for
// each kind of component. Front ends walk these tables; the core holds the knowledge.
#include <string>
#include <vector>

namespace bvq {

enum class StringTargetKind {
  MenuTitle,      // title of main-menu entry `position` of `control` (ActionMainMenuBar1)
  MenuItem,       // caption of item `position` of menu `control` ("FileMenu")
  ColumnHeading,  // heading of column `position` of list view `control`
  ComboItem,      // item `position` of combo box `control`
  Caption,        // caption of `control` (`position` unused)
};

struct StringTarget {
  int index;  // interface string
  StringTargetKind kind;
  std::string control;
  int position;
};

// Every (string, control) pair of the main window, in increasing string order. A string that
// is empty leaves its control's text unchanged.
const std::vector<StringTarget>& MainFormStringTargets();

// Combo boxes whose selected index is remembered before and restored after the texts change.
const std::vector<std::string>& RememberedComboBoxes();

// Kinds of components a window section gives texts to.
enum class ComponentKind {
  ImageButton,  // push button with an image
  PushButton,
  Label,
  CheckBox,
  GroupBox,
  RadioButton,
  TabSheet,
  Action,
  LabeledEdit,
  SpeedButton,
  ToolButton,
};
enum class TextUse { Caption, Hint, LabelCaption };
// Image buttons, speed buttons and tool buttons take the text as hint; labelled edits as the
// caption of their label; everything else as caption.
TextUse TextUseFor(ComponentKind kind);

}  // namespace bvq
