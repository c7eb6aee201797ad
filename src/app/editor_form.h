#pragma once
// The text editor window (TEditorForm): writes or changes one licence or information file
// without leaving the program. Rich text (RTF) through the rich-text module, or plain text when
// opened on a ".txt" file. Shown modally; the file it edits is read back afterwards.
#include <QDialog>
#include <QString>
#include <map>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QFontComboBox;
class QTextBlock;
class QTextCharFormat;
class QTextEdit;
class QTextDocument;
class QPrinter;

namespace bvq {
class Project;
}

namespace bvq::app {

class TEditorForm : public QDialog {
  Q_OBJECT
 public:
  // `fileName`: the file to edit (a name on disk as Qt text), empty for a text without a file;
  // `projectFile`: the open project's file, empty when it was never saved (the save and open
  // dialogs start beside it).
  TEditorForm(const QString& fileName, const QString& projectFile, QWidget* parent = nullptr);

  // The file being edited; empty while the text has no file.
  const QString& FileName() const { return fileName_; }
  // True when the text changed since it was loaded or saved.
  bool Modified() const;
  bool PlainTextMode() const { return plainText_; }

 protected:
  // Escape, the window's close button and the Exit action all come here: unsaved changes are
  // offered for saving first.
  void reject() override;

 private:
  enum class SaveResult { Saved, Cancelled, Failed };

  void BuildActions();
  void BuildMenusAndToolBar();
  void ApplyLanguage();
  void ShowFileCaption();

  void NewText();
  void OpenText();
  // Saves to the file, asking for a name only when there is none yet.
  SaveResult SaveText();
  void SaveTextAs();
  void PrintText();
  bool LoadFile(const QString& path);
  bool WriteFile(const QString& path);
  QString AskSaveName(const QString& proposed);
  QString ProposedSaveName() const;
  QString DialogFolder() const;

  void MergeFormat(const QTextCharFormat& format);
  void ChooseFont();
  void ChooseColor();
  std::vector<QTextBlock> SelectedBlocks() const;
  void SetList(int style, bool on);
  void Indent(int steps);
  void ShowCharFormat(const QTextCharFormat& format);
  void ShowParagraphFormat();

  QTextEdit* edit_ = nullptr;
  QFontComboBox* fontBox_ = nullptr;
  QComboBox* sizeBox_ = nullptr;
  QString fileName_;
  QString projectFile_;
  bool plainText_ = false;
  std::map<std::string, QAction*> actions_;
};

// Prints the text on `printer` as the editor's Print action does: the job has an empty title.
void PrintDocument(const QTextDocument& document, QPrinter& printer);

// Opens the editor on the file that a licence or information field names (`storedPath` as the
// project stores it) when that file exists, otherwise on a new text. Returns the file the
// editor names when it closes, empty when it has none.
QString EditTextFile(QWidget* parent, const Project& project, const std::string& storedPath);

}  // namespace bvq::app
