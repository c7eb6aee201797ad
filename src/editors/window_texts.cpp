#include "editors/window_texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <map>
#include <optional>

#include "editors/qt_text.h"
#include "project/language_files.h"
#include "util/ini_file.h"
#include "util/paths.h"

namespace bvq {

namespace {

std::string& LanguageName() {
  static std::string name = "English";
  return name;
}

// The file of the current language, read once per language and path.
const IniFile* LanguageFile() {
  static std::string loadedPath;
  static std::optional<IniFile> file;
  const std::string path = InterfaceLanguageFile(LanguageName());
  if (path != loadedPath) {
    loadedPath = path;
    file = IniFile::Load(path);
  }
  return file ? &*file : nullptr;
}

}  // namespace

void SetWindowTextsLanguage(const std::string& name) { LanguageName() = name; }
const std::string& WindowTextsLanguage() { return LanguageName(); }

void ApplyWindowTexts(QWidget* window, const std::string& section) {
  const IniFile* file = LanguageFile();
  if (!file || !window) return;
  for (const auto& [component, ansiText] : ReadWindowTexts(*file, section)) {
    const QString name = QString::fromStdString(component);
    const QString text = ToQ(ansiText);
    if (auto* label = window->findChild<QLabel*>(name + "Label")) {
      label->setText(text);
      continue;
    }
    QWidget* control = window->findChild<QWidget*>(name);
    if (!control) {
      // Menu and tool bar commands are actions, not widgets.
      if (auto* action = window->findChild<QAction*>(name)) action->setText(text);
      continue;
    }
    if (control->property("imageButton").toBool()) {
      control->setToolTip(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
      label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
      group->setTitle(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
      // A fixed list of choices: its items separated by "|".
      const QStringList items = text.split('|');
      for (int i = 0; i < combo->count() && i < items.size(); ++i) combo->setItemText(i, items[i]);
    }
  }
}

QString WindowText(const std::string& section, const std::string& key) {
  const IniFile* file = LanguageFile();
  if (!file) return {};
  for (const auto& [component, ansiText] : ReadWindowTexts(*file, section))
    if (component == key) return ToQ(ansiText);
  return {};
}

}  // namespace bvq
