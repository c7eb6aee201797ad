#pragma once
// The options window (TSettingsForm): the working folder, whether the last project opens at
// start and the command that signs what a build produces, all kept in the settings store.
#include <QDialog>
#include <string>

class QCheckBox;
class QLineEdit;

namespace bvq::app {

class TSettingsForm : public QDialog {
  Q_OBJECT
 public:
  TSettingsForm(const std::string& settingsPath, QWidget* parent = nullptr);

  // OK: a folder that does not exist keeps the window open with the focus in the field;
  // otherwise it becomes the working folder and the settings are stored.
  void Confirm();

 private:
  std::string settingsPath_;
  QLineEdit* folder_ = nullptr;
  QCheckBox* openLast_ = nullptr;
  QLineEdit* signCommand_ = nullptr;
};

}  // namespace bvq::app
