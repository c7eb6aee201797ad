#include "app/app_dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>

#include "editors/qt_text.h"
#include "project/interface_strings.h"

namespace bvq::app {
namespace {

AppDialogs RealDialogs() {
  AppDialogs d;
  d.message = [](QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
                 QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
  };
  d.openFile = [](QWidget* parent, const QString& caption, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
  };
  d.saveFile = [](QWidget* parent, const QString& caption, const QString& proposed, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
  };
  d.color = [](QWidget* parent, const QColor& current) -> std::optional<QColor> {
    const QColor chosen = QColorDialog::getColor(current, parent);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
  };
  d.font = [](QWidget* parent, const QFont& current) -> std::optional<QFont> {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, current, parent);
    if (!ok) return std::nullopt;
    return chosen;
  };
  d.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  return d;
}

}  // namespace

QString IString(int index) { return ToQ(InterfaceString(index)); }

AppDialogs& Dialogs() {
  static AppDialogs dialogs = RealDialogs();
  return dialogs;
}

void ResetDialogs() { Dialogs() = RealDialogs(); }

QMessageBox::StandardButton AskMessage(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                       const QString& text, QMessageBox::StandardButtons buttons) {
  return Dialogs().message(parent, icon, caption, text, buttons);
}

void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text) {
  AskMessage(parent, icon, caption, text, QMessageBox::Ok);
}

QString ProjectFileFilter() { return QStringLiteral("Belvandorithquessal Projects (*.bvq)"); }

}  // namespace bvq::app
