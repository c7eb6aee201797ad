#pragma once
// The modal questions and file dialogs the windows ask, the main window's and the entry
// dialogs' alike. Each is a replaceable function so that tests drive the windows without a
// person at the screen; the defaults show the real Qt dialogs.
#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace bvq {

struct AppDialogs {
  // A message box with the given icon and buttons; returns the button pressed.
  std::function<QMessageBox::StandardButton(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                            const QString& text, QMessageBox::StandardButtons buttons)>
      message;
  // An open-file dialog; "" when cancelled.
  std::function<QString(QWidget* parent, const QString& caption, const QString& folder, const QString& filter)>
      openFile;
  // Files to add to an entry list: an open-file dialog for several files (`several`) or one,
  // without caption or start folder; links are given as the links they are when `keepLinks`.
  // Empty when cancelled.
  std::function<QStringList(QWidget* parent, const QString& filter, bool several, bool keepLinks)> openFiles;
  // A folder dialog; "" when cancelled.
  std::function<QString(QWidget* parent, const QString& caption)> folder;
  // A save-file dialog (asks before overwriting); "" when cancelled.
  std::function<QString(QWidget* parent, const QString& caption, const QString& proposed, const QString& filter)>
      saveFile;
  // The colour dialog preset to `current`; nullopt when cancelled.
  std::function<std::optional<QColor>(QWidget* parent, const QColor& current)> color;
  // The font dialog preset to `current`; nullopt when cancelled.
  std::function<std::optional<QFont>(QWidget* parent, const QFont& current)> font;
  // The print dialog for `printer` (which it sets up); false when cancelled.
  std::function<bool(QWidget* parent, QPrinter& printer)> print;
  // Opens an address or a local file with the desktop's program for it; false when none.
  std::function<bool(const QUrl& url)> openUrl;
};

// The dialogs in use (the real ones unless a test replaced them).
AppDialogs& Dialogs();
// Puts the real dialogs back.
void ResetDialogs();

// Shorthands.
QMessageBox::StandardButton AskMessage(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                       const QString& text, QMessageBox::StandardButtons buttons);
void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text);

// Interface string `index` as Qt text.
QString IString(int index);

// A file dialog filter written "Text|patterns|Text|patterns" in Qt's form ("Text (patterns);;...").
QString QtFilter(const char* filter);

// Licence and information files (rich text or plain text).
inline constexpr const char* kDocumentFilter =
    "All documents (*.rtf;*.txt)|*.rtf;*.txt|RTF files (*.rtf)|*.rtf|Text files (*.txt)|*.txt|All files|*.*";

// "Belvandorithquessal Projects (*.bvq)" in Qt's filter form.
QString ProjectFileFilter();

}  // namespace bvq
