#pragma once
// Binds the settings widgets of the main window's pages to the members of the open project.
// Each widget's objectName is its control name, by which the interface language files key
// its caption; one table here says which setting each of those widgets shows. Loading
// copies the model into the widgets without marking anything modified; an edit writes the
// member back, calls MarkModified and then the window's after-edit hook (the enabling rules).
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace bvq::app {

// The setting the settings widget `objectName` shows, by the kind of widget. A name the
// table does not hold is a programming error (std::logic_error).
std::string Project::*TextSetting(std::string_view objectName);    // line edits
bool Project::*FlagSetting(std::string_view objectName);           // check boxes
int Project::*NumberSetting(std::string_view objectName);          // combo boxes, spin box
uint32_t Project::*ColorSetting(std::string_view objectName);      // colour buttons
FontSetting Project::*FontSettingOf(std::string_view objectName);  // font buttons
std::vector<CheckItem> Project::*CheckListSetting(std::string_view objectName);
// Radio buttons: the flag, and the value it has while the button is checked.
struct ChoiceBinding {
  const char* objectName;
  bool Project::*member;
  bool whenChecked;
};
const ChoiceBinding& ChoiceSetting(std::string_view objectName);

class SettingsBinder : public QObject {
  Q_OBJECT
 public:
  SettingsBinder(Project& project, QObject* parent = nullptr);

  // The widget `name` bound to its setting (the table above).
  QLineEdit* Text(const char* name);
  QCheckBox* Flag(const char* name);
  // A radio button that is checked while its flag has the button's value; choosing it sets
  // the flag to that value.
  QRadioButton* Choice(const char* name);
  // A combo box with `itemCount` items (texts come with the interface language).
  QComboBox* Index(const char* name, int itemCount);
  QSpinBox* Number(const char* name, int minimum, int maximum);
  // Any other load step (lists, combo boxes of the licence files ...), run by LoadAll in
  // the order added.
  void AddLoader(std::function<void()> load);

  // Copies the whole model into the widgets; no MarkModified.
  void LoadAll();
  // True while LoadAll runs: change handlers must not write the model.
  bool Loading() const { return loading_ > 0; }
  // Runs `f` with change handlers silenced (a handler that sets other widgets).
  void Silently(const std::function<void()>& f);

  // The interface language in use (for the install language that must stay checked).
  std::string interfaceLanguage = "English";

  // Called after every edit with the objectName of the edited widget.
  std::function<void(const QString& name)> afterEdit;

  Project& project() { return project_; }

  // Called by custom handlers after they wrote the model.
  void Edited(const QString& name);

 private:
  Project& project_;
  int loading_ = 0;
  std::vector<std::function<void()>> loaders_;
};

}  // namespace bvq::app
