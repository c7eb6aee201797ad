#pragma once
// Small pieces the entry dialogs share: combo and line-edit filling, the single-file picker
// button, and the import steps of the registry and INI dialogs with their status line.
#include <QString>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <QComboBox>

#include "editors/qt_text.h"
#include "project/project.h"

class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

namespace bvq {

class EntryDialog;

void FillCombo(QComboBox* combo, const std::vector<std::string>& items);

template <std::size_t N>
void FillCombo(QComboBox* combo, const std::array<std::string_view, N>& items) {
  combo->clear();
  for (std::string_view item : items) combo->addItem(ToQ(std::string(item)));
}

std::string Text(const QLineEdit* edit);
void SetText(QLineEdit* edit, const std::string& text);

// A picker button in single mode: a picked path goes into the field (or to `onPick`, which
// then receives also an empty pick); the field takes the focus.
void ConnectSinglePicker(EntryDialog* dialog, QPushButton* button, QLineEdit* field, const Project& project,
                         std::function<void(const std::string&)> onPick = {});

// Lets the window repaint and pauses briefly, so the author sees the import end.
void PauseAfterImport();
// The import button of the registry and INI dialogs: asks for files of `filter`; when some
// were chosen, hides the dialog, shows "Load..." while `import` reads them (names on disk;
// it returns one line per problem), then "Load OK", reports the problems and accepts.
void RunFileImport(QDialog* dialog, const char* filter,
                   const std::function<std::vector<std::string>(const std::vector<std::string>& files)>& import);

}  // namespace bvq
