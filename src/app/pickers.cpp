#include "app/pickers.h"

#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QInputDialog>

#include "editors/qt_text.h"
#include "editors/app_dialogs.h"
#include "app/page_layout.h"
#include "app/settings_binder.h"
#include "project/interface_text_ids.h"
#include "project/language_lists.h"
#include "editors/entry_dialogs.h"
#include "editors/variable_menu_popup.h"
#include "images/icon_import.h"
#include "images/picture_import.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq::app {
namespace {

// The folder of the file a field names (program-folder variable resolved), for a dialog.
QString FolderOf(QLineEdit* field) {
  const std::string path = NativePath(ExpandCurrentPath(FromQ(field->text())));
  return DiskToQ(ExtractFilePath(path));
}

constexpr const char* kIconFilter =
    "All (*.ico;*.exe;*.dll)|*.ico;*.exe;*.dll;*.src|Icon files (*.ico)|*.ico|PE files (*.exe;*.dll)|*.exe;*.dll;*.src";
constexpr const char* kPictureFilter =
    "All Images|*.jpg;*.jpeg;*.gif;*.png;*.bmp;*.ico;*.tif;*.tiff;*.psd;*.pdd|JPEG Images (*.jpg;*.jpeg)|*.jpg;*.jpeg|"
    "GIF Images (*.gif)|*.gif|PNG Images (*.png)|*.png|Bitmap Images (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
    "TIFF Images (*.tif;*.tiff)|*.tif;*.tiff|Photoshop Images (*.psd;*.pdd)|*.psd;*.pdd";

// A colour kept as 0x00BBGGRR.
QColor ToQColor(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
uint32_t FromQColor(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
         (static_cast<uint32_t>(c.blue()) << 16);
}

}  // namespace

// The variable button of a field: its menu inserts a variable at the caret.
QToolButton* VariableButton(SettingsBinder& b, const char* name, QLineEdit* field) {
  QToolButton* button = SideButton(name, "%");
  button->setProperty("imageButton", true);  // the interface language gives it a hint
  Project& project = b.project();
  QObject::connect(button, &QToolButton::clicked, field, [&project, field, button] {
    ShowVariableMenu(field, project.registryVariables, button->mapToGlobal(QPoint(0, button->height())));
  });
  return button;
}

// The icon picker: an .ico file is taken as it is; an executable or library gives its
// icon group as a new .ico file in the user's data folder.
QToolButton* IconPicker(const char* name, QLineEdit* field) {
  QToolButton* button = SideButton(name, "...");
  QObject::connect(button, &QToolButton::clicked, field, [field] {
    const QString picked = Dialogs().openFile(field->window(), QString(), FolderOf(field), QtFilter(kIconFilter));
    if (picked.isEmpty()) return;
    images::ImportedIcon icon = images::ImportIcon(picked.toStdString());
    if (icon.kind == images::ImportedIcon::Kind::ChooseGroup) {
      bool ok = false;
      const int group = QInputDialog::getInt(field->window(), QString::fromUtf8(kProgramName), picked, 1, 1,
                                             icon.groupCount, 1, &ok);
      if (!ok) return;
      icon = images::ImportIcon(picked.toStdString(), group - 1);
    }
    switch (icon.kind) {
      case images::ImportedIcon::Kind::Kept:
      case images::ImportedIcon::Kind::Extracted:
        field->setText(DiskToQ(icon.path));
        break;
      case images::ImportedIcon::Kind::NoIcons:
        ShowMessage(field->window(), QMessageBox::Warning, QString::fromUtf8(kProgramName),
                    IString(kTextNoIconsFound) + picked + IString(kTextChooseAnotherFile));
        break;
      default:
        ShowMessage(field->window(), QMessageBox::Warning, QString::fromUtf8(kProgramName),
                    QString::fromStdString(icon.error));
        break;
    }
  });
  return button;
}

// A colour button: its swatch shows the colour; a click offers the colour dialog.
QToolButton* ColorButton(SettingsBinder& b, const char* name) {
  uint32_t Project::*member = ColorSetting(name);
  QToolButton* button = SideButton(name, QString());
  button->setIconSize(QSize(24, 16));
  Project& project = b.project();
  auto paint = [&project, button, member] {
    QPixmap swatch(24, 16);
    swatch.fill(ToQColor(project.*member));
    button->setIcon(QIcon(swatch));
  };
  QObject::connect(button, &QToolButton::clicked, button, [&b, &project, button, member, paint] {
    auto chosen = Dialogs().color(button->window(), ToQColor(project.*member));
    if (!chosen) return;
    project.*member = FromQColor(*chosen);
    paint();
    b.Edited(button->objectName());
  });
  b.AddLoader(paint);
  return button;
}

// A font button: the font dialog for a text drawn on the background. Its colour and
// character set stay as they are; the project counts as changed even when the dialog is
// cancelled, as the font buttons always did.
QPushButton* FontButton(SettingsBinder& b, const char* name) {
  FontSetting Project::*member = FontSettingOf(name);
  QPushButton* button = NewButton(name, "Aa");
  Project& project = b.project();
  QObject::connect(button, &QPushButton::clicked, button, [&b, &project, button, member] {
    FontSetting& f = project.*member;
    QFont current(ToQ(f.Name), f.Size > 0 ? f.Size : 8);
    current.setBold(f.Style & kFontBold);
    current.setItalic(f.Style & kFontItalic);
    current.setUnderline(f.Style & kFontUnderline);
    current.setStrikeOut(f.Style & kFontStrikeOut);
    if (auto chosen = Dialogs().font(button->window(), current)) {
      f.Name = FromQ(chosen->family());
      if (chosen->pointSize() > 0) f.Size = chosen->pointSize();
      f.Style = (chosen->bold() ? kFontBold : 0) | (chosen->italic() ? kFontItalic : 0) |
                (chosen->underline() ? kFontUnderline : 0) | (chosen->strikeOut() ? kFontStrikeOut : 0);
    }
    b.Edited(button->objectName());
  });
  return button;
}

// The icon a field names, at 32 by 32 pixels; empty when the file is missing or no icon.
QLabel* IconPreview(const char* name, QLineEdit* field) {
  auto* image = new QLabel;
  image->setObjectName(name);
  image->setFixedSize(32, 32);
  auto show = [image, field] {
    const QString path = DiskToQ(NativePath(ExpandCurrentPath(FromQ(field->text()))));
    QPixmap pixmap;
    if (QFileInfo(path).isFile()) pixmap = QIcon(path).pixmap(32, 32);
    image->setPixmap(pixmap);
  };
  QObject::connect(field, &QLineEdit::textChanged, image, show);
  show();
  return image;
}

// The picture picker: bitmaps (and PNG files unless `convertPng`) are taken as they are;
// other pictures become a new bitmap file.
QToolButton* PicturePicker(const char* name, QLineEdit* field, bool convertPng) {
  QToolButton* button = SideButton(name, "...");
  QObject::connect(button, &QToolButton::clicked, field, [field, convertPng] {
    const QString picked = Dialogs().openFile(field->window(), QString(), FolderOf(field), QtFilter(kPictureFilter));
    if (picked.isEmpty()) return;
    auto imported = images::ImportImage(picked.toStdString(), convertPng);
    if (!imported) {
      ShowMessage(field->window(), QMessageBox::Warning, QString::fromUtf8(kProgramName),
                  QString::fromStdString(imported.error()));
      return;
    }
    field->setText(DiskToQ(imported->path));
  });
  return button;
}

// The licence and information file pickers.
QToolButton* DocumentPicker(const char* name, QLineEdit* field) {
  QToolButton* button = SideButton(name, "...");
  QObject::connect(button, &QToolButton::clicked, field, [field] {
    const QString picked = Dialogs().openFile(field->window(), QString(), FolderOf(field), QtFilter(kDocumentFilter));
    if (!picked.isEmpty()) field->setText(picked);
    field->setFocus();
  });
  return button;
}

// The project-file picker: a destination of the file list.
QToolButton* ProjectFilePicker(SettingsBinder& b, const char* name, QLineEdit* field) {
  QToolButton* button = SideButton(name, "...");
  Project& project = b.project();
  QObject::connect(button, &QToolButton::clicked, field, [&project, field] {
    ProjectFilePick pick = ExecProjectFilePicker(field->window(), project, false);
    if (!pick.SelectedProjectFile.empty()) field->setText(ToQ(pick.SelectedProjectFile));
  });
  return button;
}

// A check-box list bound to one of the project's item lists.
QListWidget* CheckList(SettingsBinder& b, const char* name, std::function<void(std::size_t, bool)> setChecked) {
  std::vector<CheckItem> Project::*member = CheckListSetting(name);
  auto* list = new QListWidget;
  list->setObjectName(name);
  Project& project = b.project();
  QObject::connect(list, &QListWidget::itemChanged, list, [&b, list, setChecked](QListWidgetItem* item) {
    if (b.Loading()) return;
    const int row = list->row(item);
    if (row < 0) return;
    setChecked(static_cast<std::size_t>(row), item->checkState() == Qt::Checked);
    // Checking a language changes the licence and information lists beside it.
    b.LoadAll();
    b.Edited(list->objectName());
  });
  // Install languages are named in their own language and code page.
  const bool languages = member == &Project::installLanguages;
  auto DisplayCaption = [languages](const std::string& caption) {
    return languages ? QString::fromStdString(InstallLanguageDisplayCaption(caption)) : ToQ(caption);
  };
  b.AddLoader([&project, list, member, DisplayCaption] {
    const auto& items = project.*member;
    if (list->count() != static_cast<int>(items.size())) {
      list->clear();
      for (const CheckItem& item : items) {
        auto* row = new QListWidgetItem(DisplayCaption(item.Caption), list);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
      }
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
      QListWidgetItem* row = list->item(static_cast<int>(i));
      row->setText(DisplayCaption(items[i].Caption));
      row->setCheckState(items[i].Checked ? Qt::Checked : Qt::Unchecked);
    }
  });
  return list;
}

}  // namespace bvq::app
