#include "editors/entry_dialog_parts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include "editors/app_dialogs.h"
#include "editors/entry_dialogs.h"

namespace bvq {

namespace {

std::function<void(const QString&)>& LoadStatusHandler() {
  static std::function<void(const QString&)> handler;
  return handler;
}

void ShowLoadStatus(const QString& text) {
  if (LoadStatusHandler()) LoadStatusHandler()(text);
}

}  // namespace

void SetLoadStatusHandler(std::function<void(const QString&)> handler) { LoadStatusHandler() = std::move(handler); }

void FillCombo(QComboBox* combo, const std::vector<std::string>& items) {
  combo->clear();
  for (const std::string& item : items) combo->addItem(ToQ(item));
}

std::string Text(const QLineEdit* edit) { return FromQ(edit->text()); }
void SetText(QLineEdit* edit, const std::string& text) { edit->setText(ToQ(text)); }

void ConnectSinglePicker(EntryDialog* dialog, QPushButton* button, QLineEdit* field, const Project& project,
                         std::function<void(const std::string&)> onPick) {
  QObject::connect(button, &QPushButton::clicked, dialog, [dialog, field, &project, onPick] {
    const ProjectFilePick pick = ExecProjectFilePicker(dialog, project, false);
    if (onPick) {
      onPick(pick.SelectedProjectFile);
    } else if (!pick.SelectedProjectFile.empty()) {
      SetText(field, pick.SelectedProjectFile);
    }
    field->setFocus(Qt::OtherFocusReason);
  });
}

void PauseAfterImport() {
  QCoreApplication::processEvents();
  QEventLoop loop;
  QTimer::singleShot(100, &loop, &QEventLoop::quit);
  loop.exec();
}

void RunFileImport(QDialog* dialog, const char* filter,
                   const std::function<std::vector<std::string>(const std::vector<std::string>& files)>& import) {
  const QStringList files = Dialogs().openFiles(dialog, QString::fromLatin1(filter), true, false);
  if (files.isEmpty()) return;
  dialog->hide();
  QCoreApplication::processEvents();
  ShowLoadStatus(QStringLiteral("Load..."));
  const std::vector<std::string> problems = import(QListToDisk(files));
  ShowLoadStatus(QStringLiteral("Load OK"));
  PauseAfterImport();
  ShowLoadStatus(QString());
  if (!problems.empty()) {
    QStringList lines;
    for (const std::string& p : problems) lines << DiskToQ(p);
    ShowWarning(dialog->parentWidget(), lines.join('\n'));
  }
  dialog->accept();
}

}  // namespace bvq
