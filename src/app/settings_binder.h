#pragma once
// Binds the settings widgets of the main window's pages to the members of the open project.
// Every widget carries the member's name as objectName. Loading copies the model into the
// widgets without marking anything modified; an edit writes the member back, calls
// MarkModified and then the window's after-edit hook (the enabling rules).
#include <QObject>
#include <QString>
#include <functional>
#include <string>
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

class SettingsBinder : public QObject {
  Q_OBJECT
 public:
  SettingsBinder(Project& project, QObject* parent = nullptr);

  // A line edit for a text member.
  QLineEdit* Text(const char* name, std::string Project::*member);
  QCheckBox* Flag(const char* name, bool Project::*member);
  // A radio button that is checked while `member` equals `whenChecked`; choosing it sets
  // the member to that value.
  QRadioButton* Choice(const char* name, bool Project::*member, bool whenChecked);
  // A combo box with `itemCount` items (texts come with the interface language).
  QComboBox* Index(const char* name, int Project::*member, int itemCount);
  QSpinBox* Number(const char* name, int Project::*member, int minimum, int maximum);
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
