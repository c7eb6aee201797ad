#pragma once
// Reusable pickers of the settings pages: buttons that choose a file, picture, icon, colour
// or font for a bound field, the icon preview and the bound check-box lists.
#include <cstddef>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace bvq::app {

class SettingsBinder;

// The variable button of a field: its menu inserts a variable at the caret.
QToolButton* VariableButton(SettingsBinder& b, const char* name, QLineEdit* field);
// The icon picker: an .ico file is taken as it is; an executable or library gives its
// icon group as a new .ico file in the user's data folder.
QToolButton* IconPicker(const char* name, QLineEdit* field);
// A colour button: its swatch shows the colour; a click offers the colour dialog.
QToolButton* ColorButton(SettingsBinder& b, const char* name);
// A font button: the font dialog for a text drawn on the background.
QPushButton* FontButton(SettingsBinder& b, const char* name);
// The icon a field names, at 32 by 32 pixels; empty when the file is missing or no icon.
QLabel* IconPreview(const char* name, QLineEdit* field);
// The picture picker: bitmaps (and PNG files unless `convertPng`) are taken as they are;
// other pictures become a new bitmap file.
QToolButton* PicturePicker(const char* name, QLineEdit* field, bool convertPng);
// The licence and information file pickers.
QToolButton* DocumentPicker(const char* name, QLineEdit* field);
// The project-file picker: a destination of the file list.
QToolButton* ProjectFilePicker(SettingsBinder& b, const char* name, QLineEdit* field);
// A check-box list bound to one of the project's item lists.
QListWidget* CheckList(SettingsBinder& b, const char* name, std::function<void(std::size_t, bool)> setChecked);

}  // namespace bvq::app
