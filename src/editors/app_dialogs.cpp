#include "editors/app_dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QPrintDialog>

#include "editors/qt_text.h"
#include "project/interface_strings.h"

namespace bvq {
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
  d.openFiles = [](QWidget* parent, const QString& filter, bool several, bool keepLinks) {
    const QFileDialog::Options options = keepLinks ? QFileDialog::DontResolveSymlinks : QFileDialog::Options();
    if (several) return QFileDialog::getOpenFileNames(parent, QString(), QString(), filter, nullptr, options);
    const QString one = QFileDialog::getOpenFileName(parent, QString(), QString(), filter, nullptr, options);
    return one.isEmpty() ? QStringList() : QStringList{one};
  };
  d.folder = [](QWidget* parent, const QString& caption) { return QFileDialog::getExistingDirectory(parent, caption); };
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
  d.print = [](QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
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

QString QtFilter(const char* filter) {
  const QStringList parts = QString::fromLatin1(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    QString text = parts[i];
    if (!text.contains('(')) text += " (" + patterns + ")";
    else text = text.left(text.indexOf('(')).trimmed() + " (" + patterns + ")";
    out << text;
  }
  return out.join(";;");
}

QString ProjectFileFilter() { return QStringLiteral("Belvandorithquessal Projects (*.bvq)"); }

}  // namespace bvq
