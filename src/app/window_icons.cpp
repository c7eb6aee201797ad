#include "app/window_icons.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

#include "editors/qt_text.h"
#include "util/program_values.h"

namespace bvq::app {
namespace {

QIcon Standard(QStyle::StandardPixmap pixmap) { return QApplication::style()->standardIcon(pixmap); }

}  // namespace

QIcon WindowIcon(WindowIconKind kind) {
  switch (kind) {
    case WindowIconKind::Program:
    case WindowIconKind::About: {
      const QString file = DiskToQ(ProgramFolder() + "Icons/Install/Setup.ico");
      if (QFileInfo::exists(file)) {
        QIcon icon(file);
        if (!icon.isNull()) return icon;
      }
      return Standard(QStyle::SP_ComputerIcon);
    }
    case WindowIconKind::Build: return Standard(QStyle::SP_MediaPlay);
    case WindowIconKind::Information: return Standard(QStyle::SP_MessageBoxInformation);
    case WindowIconKind::Options: return Standard(QStyle::SP_FileDialogDetailedView);
    case WindowIconKind::Update: return Standard(QStyle::SP_BrowserReload);
  }
  return {};
}

QIcon PageIcon(int page) {
  // What each page holds: product, files, requirements, wizard, looks, shortcuts, registry,
  // INI, commands, ActiveX, fonts, variables; the uninstaller, its deletions, registry keys,
  // commands.
  static const QStyle::StandardPixmap pictures[] = {
      QStyle::SP_ComputerIcon,       QStyle::SP_FileIcon,          QStyle::SP_DriveHDIcon,
      QStyle::SP_TitleBarNormalButton, QStyle::SP_DesktopIcon,     QStyle::SP_FileLinkIcon,
      QStyle::SP_DirHomeIcon,        QStyle::SP_FileDialogContentsView, QStyle::SP_CommandLink,
      QStyle::SP_DriveCDIcon,        QStyle::SP_FileDialogInfoView, QStyle::SP_FileDialogListView,
      QStyle::SP_TrashIcon,          QStyle::SP_DialogDiscardButton, QStyle::SP_DirClosedIcon,
      QStyle::SP_CommandLink};
  if (page < 1 || page > 16) return {};
  return Standard(pictures[page - 1]);
}

}  // namespace bvq::app
