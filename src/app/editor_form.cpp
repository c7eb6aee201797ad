#include "app/editor_form.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontComboBox>
#include <QMenuBar>
#include <QPrinter>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>
#include <vector>

#include "editors/app_dialogs.h"
#include "app/editor_icons.h"
#include "app/rich_text_bridge.h"
#include "editors/qt_text.h"
#include "editors/window_texts.h"
#include "platform/shell_folders.h"
#include "project/interface_text_ids.h"
#include "project/project_paths.h"
#include "rtf/text_file.h"
#include "util/code_page.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq::app {
namespace {

// The name the save dialog and the close question use while the text has no file.
constexpr const char* kUnnamedText = "Project1.rtf";
constexpr const char* kRtfFilter = "RTF files (*.rtf)|*.rtf";

QString FileNameOnly(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

TEditorForm::TEditorForm(const QString& fileName, const QString& projectFile, QWidget* parent)
    : QDialog(parent), projectFile_(projectFile) {
  setObjectName("EditorForm");
  setSizeGripEnabled(true);
  resize(820, 540);
  edit_ = new QTextEdit(this);
  edit_->setObjectName("RichEdit1");
  edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  BuildActions();
  BuildMenusAndToolBar();
  ApplyLanguage();
  setWindowTitle(IString(kTextTextEditor));
  ShowRichDocument({}, *edit_->document());
  if (!fileName.isEmpty()) {
    plainText_ = fileName.right(4).toLower() == QStringLiteral(".txt");
    if (plainText_) {
      edit_->setAcceptRichText(false);
      edit_->setLineWrapMode(QTextEdit::NoWrap);
      for (QWidget* w : {static_cast<QWidget*>(fontBox_), static_cast<QWidget*>(sizeBox_)}) w->setEnabled(false);
      for (const char* name : {"FontAct", "BoldAct", "ItalicAct", "UnderlineAct", "StrikeOutAct", "ColorAct",
                               "LeftAct", "CenterAct", "RightAct", "BulletsAct", "NumberingAct", "IndentAct",
                               "OutdentAct"})
        actions_[name]->setEnabled(false);
    }
    fileName_ = fileName;
    if (LoadFile(fileName)) ShowFileCaption();
  }
  edit_->document()->setModified(false);
  connect(edit_, &QTextEdit::currentCharFormatChanged, this, &TEditorForm::ShowCharFormat);
  connect(edit_, &QTextEdit::cursorPositionChanged, this, &TEditorForm::ShowParagraphFormat);
  ShowCharFormat(edit_->currentCharFormat());
  ShowParagraphFormat();
}

bool TEditorForm::Modified() const { return edit_->document()->isModified(); }

void TEditorForm::BuildActions() {
  auto action = [this](const char* name, const QString& text, const QKeySequence& shortcut = {},
                       const QIcon& icon = {}) {
    auto* a = new QAction(icon, text, this);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    actions_[name] = a;
    return a;
  };
  QStyle* s = style();
  connect(action("NewAct", "New", QKeySequence(Qt::CTRL | Qt::Key_N), s->standardIcon(QStyle::SP_FileIcon)),
          &QAction::triggered, this, &TEditorForm::NewText);
  connect(action("OpenAct", "Open...", QKeySequence(Qt::CTRL | Qt::Key_O), s->standardIcon(QStyle::SP_DialogOpenButton)),
          &QAction::triggered, this, &TEditorForm::OpenText);
  connect(action("SaveAct", "Save", QKeySequence(Qt::CTRL | Qt::Key_S), s->standardIcon(QStyle::SP_DialogSaveButton)),
          &QAction::triggered, this, [this] {
            if (SaveText() == SaveResult::Saved) edit_->document()->setModified(false);
          });
  connect(action("SaveAsAct", "Save as..."), &QAction::triggered, this, &TEditorForm::SaveTextAs);
  connect(action("PrintAct", "Print...", QKeySequence(Qt::CTRL | Qt::Key_P)), &QAction::triggered, this,
          &TEditorForm::PrintText);
  connect(action("CloseAct", "Close", QKeySequence(Qt::ALT | Qt::Key_F4)), &QAction::triggered, this, &QWidget::close);

  QAction* undo = action("UndoAct", "Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), QIcon::fromTheme("edit-undo", LetterIcon(QString(QChar(0x21B6)), true, false, false, false)));
  QAction* cut = action("CutAct", "Cut", QKeySequence(Qt::CTRL | Qt::Key_X), QIcon::fromTheme("edit-cut", LetterIcon(QString(QChar(0x2702)), false, false, false, false)));
  QAction* copy = action("CopyAct", "Copy", QKeySequence(Qt::CTRL | Qt::Key_C), QIcon::fromTheme("edit-copy", SheetsIcon(false)));
  QAction* paste = action("PasteAct", "Paste", QKeySequence(Qt::CTRL | Qt::Key_V), QIcon::fromTheme("edit-paste", SheetsIcon(true)));
  QAction* erase = action("DeleteAct", "Delete", QKeySequence(Qt::CTRL | Qt::Key_Delete));
  QAction* all = action("SelectAllAct", "Select all", QKeySequence(Qt::CTRL | Qt::Key_A));
  // The text field handles these keys itself while it has the focus; the actions serve the
  // menus and the tool bar.
  for (QAction* a : {undo, cut, copy, paste, erase, all}) a->setShortcutContext(Qt::WidgetShortcut);
  connect(undo, &QAction::triggered, edit_, &QTextEdit::undo);
  connect(cut, &QAction::triggered, edit_, &QTextEdit::cut);
  connect(copy, &QAction::triggered, edit_, &QTextEdit::copy);
  connect(paste, &QAction::triggered, edit_, &QTextEdit::paste);
  connect(erase, &QAction::triggered, edit_, [this] { edit_->textCursor().removeSelectedText(); });
  connect(all, &QAction::triggered, edit_, &QTextEdit::selectAll);

  connect(action("FontAct", "Font..."), &QAction::triggered, this, &TEditorForm::ChooseFont);
  auto style = [&](const char* name, const QString& text, const QKeySequence& key, const QIcon& icon,
                   std::function<void(QTextCharFormat&, bool)> set) {
    QAction* a = action(name, text, key, icon);
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, set](bool on) {
      QTextCharFormat format;
      set(format, on);
      MergeFormat(format);
    });
  };
  style("BoldAct", "Bold", QKeySequence(Qt::CTRL | Qt::Key_B), LetterIcon("B", true, false, false, false),
        [](QTextCharFormat& f, bool on) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); });
  style("ItalicAct", "Italic", QKeySequence(Qt::CTRL | Qt::Key_I), LetterIcon("I", false, true, false, false),
        [](QTextCharFormat& f, bool on) { f.setFontItalic(on); });
  style("UnderlineAct", "Underline", QKeySequence(Qt::CTRL | Qt::Key_U), LetterIcon("U", false, false, true, false),
        [](QTextCharFormat& f, bool on) { f.setFontUnderline(on); });
  style("StrikeOutAct", "Strike out", {}, LetterIcon("S", false, false, false, true),
        [](QTextCharFormat& f, bool on) { f.setFontStrikeOut(on); });
  connect(action("ColorAct", "Colour...", {}, ColorIcon(Qt::black)), &QAction::triggered, this,
          &TEditorForm::ChooseColor);

  auto* alignments = new QActionGroup(this);
  const std::pair<const char*, Qt::Alignment> aligns[] = {
      {"LeftAct", Qt::AlignLeft}, {"CenterAct", Qt::AlignHCenter}, {"RightAct", Qt::AlignRight}};
  const char* alignTexts[] = {"Align left", "Center", "Align right"};
  for (int i = 0; i < 3; ++i) {
    const auto [name, alignment] = aligns[i];
    QAction* a = action(name, alignTexts[i], {}, LinesIcon(alignment));
    a->setCheckable(true);
    alignments->addAction(a);
    connect(a, &QAction::triggered, this, [this, alignment] {
      edit_->setAlignment(alignment);
      edit_->setFocus();
    });
  }
  actions_["LeftAct"]->setChecked(true);

  QAction* bullets = action("BulletsAct", "Bullets", {}, LinesIcon(Qt::AlignLeft, QString(4, QChar(0x2022))));
  QAction* numbers = action("NumberingAct", "Numbering", {}, LinesIcon(Qt::AlignLeft, "1234"));
  for (QAction* a : {bullets, numbers}) a->setCheckable(true);
  connect(bullets, &QAction::triggered, this, [this](bool on) { SetList(QTextListFormat::ListDisc, on); });
  connect(numbers, &QAction::triggered, this, [this](bool on) { SetList(QTextListFormat::ListDecimal, on); });
  connect(action("IndentAct", "Increase indent", {}, IndentIcon(true)), &QAction::triggered, this,
          [this] { Indent(1); });
  connect(action("OutdentAct", "Decrease indent", {}, IndentIcon(false)), &QAction::triggered, this,
          [this] { Indent(-1); });

  fontBox_ = new QFontComboBox(this);
  fontBox_->setObjectName("FontNameBox");
  fontBox_->setMaximumWidth(170);
  connect(fontBox_, &QFontComboBox::textActivated, this, [this](const QString& family) {
    QTextCharFormat format;
    format.setFontFamilies(QStringList{family});
    MergeFormat(format);
  });
  sizeBox_ = new QComboBox(this);
  sizeBox_->setObjectName("FontSizeBox");
  sizeBox_->setEditable(true);
  for (int size : QFontDatabase::standardSizes()) sizeBox_->addItem(QString::number(size));
  connect(sizeBox_, &QComboBox::textActivated, this, [this](const QString& text) {
    bool ok = false;
    const qreal points = text.toDouble(&ok);
    if (!ok || points <= 0 || points > 1638) return;  // RTF keeps sizes as half-points in 16 bits
    QTextCharFormat format;
    format.setFontPointSize(points);
    MergeFormat(format);
  });
}

void TEditorForm::BuildMenusAndToolBar() {
  auto* menus = new QMenuBar(this);
  auto menu = [&](const char* name, const QString& title, std::initializer_list<const char*> items) {
    QMenu* m = menus->addMenu(title);
    m->setObjectName(name);
    for (const char* item : items) {
      if (*item) m->addAction(actions_[item]);
      else m->addSeparator();
    }
  };
  menu("FileMenu", "File", {"NewAct", "OpenAct", "SaveAct", "SaveAsAct", "", "PrintAct", "", "CloseAct"});
  menu("EditMenu", "Edit", {"UndoAct", "", "CutAct", "CopyAct", "PasteAct", "DeleteAct", "", "SelectAllAct"});
  menu("FormatMenu", "Format",
       {"FontAct", "ColorAct", "", "BoldAct", "ItalicAct", "UnderlineAct", "StrikeOutAct", "", "LeftAct", "CenterAct",
        "RightAct", "", "BulletsAct", "NumberingAct", "IndentAct", "OutdentAct"});

  auto* tools = new QToolBar(this);
  tools->setObjectName("ToolBar1");
  tools->setIconSize(QSize(20, 20));
  auto add = [&](std::initializer_list<const char*> items) {
    for (const char* item : items) tools->addAction(actions_[item]);
    tools->addSeparator();
  };
  add({"NewAct", "OpenAct", "SaveAct"});
  add({"CutAct", "CopyAct", "PasteAct"});
  add({"UndoAct"});
  tools->addWidget(fontBox_);
  tools->addWidget(sizeBox_);
  add({"BoldAct", "ItalicAct", "UnderlineAct", "StrikeOutAct", "ColorAct"});
  add({"LeftAct", "CenterAct", "RightAct"});
  for (const char* item : {"BulletsAct", "NumberingAct", "OutdentAct", "IndentAct"}) tools->addAction(actions_[item]);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(menus);
  layout->addWidget(tools);
  layout->addWidget(edit_, 1);
}

void TEditorForm::ApplyLanguage() {
  ApplyWindowTexts(this, "EditorForm");
  const std::pair<const char*, int> titles[] = {
      {"FileMenu", kTextEditorFileMenu}, {"EditMenu", kTextEditorEditMenu}, {"FormatMenu", kTextEditorFormatMenu}};
  for (const auto& [name, index] : titles) {
    const QString title = IString(index);
    if (auto* m = findChild<QMenu*>(name); m && !title.isEmpty()) m->setTitle(title);
  }
}

void TEditorForm::ShowFileCaption() { setWindowTitle(IString(kTextTextEditor) + " - " + FileNameOnly(fileName_)); }

void TEditorForm::NewText() {
  edit_->clear();
  edit_->setCurrentCharFormat(QTextCharFormat());
  edit_->document()->setModified(true);
}

QString TEditorForm::DialogFolder() const {
  if (!projectFile_.isEmpty()) return QFileInfo(projectFile_).absolutePath();
  return DiskToQ(DocumentsFolder());
}

void TEditorForm::OpenText() {
  const QString chosen = Dialogs().openFile(this, QString(), DialogFolder(), QtFilter(kDocumentFilter));
  if (chosen.isEmpty()) return;
  fileName_ = chosen;
  if (!LoadFile(chosen)) return;
  ShowFileCaption();
  edit_->document()->setModified(false);
}

QString TEditorForm::ProposedSaveName() const {
  if (!projectFile_.isEmpty() && QFileInfo(projectFile_).isFile())
    return projectFile_.left(projectFile_.size() - 3) + QStringLiteral("rtf");
  return DiskToQ(DocumentsFolder()) + QString::fromLatin1(kUnnamedText);
}

QString TEditorForm::AskSaveName(const QString& proposed) {
  QString chosen = Dialogs().saveFile(this, QString(), proposed, QtFilter(kRtfFilter));
  if (!chosen.isEmpty() && QFileInfo(chosen).suffix().isEmpty()) chosen += QStringLiteral(".rtf");
  return chosen;
}

TEditorForm::SaveResult TEditorForm::SaveText() {
  if (fileName_.isEmpty()) {
    const QString chosen = AskSaveName(ProposedSaveName());
    if (chosen.isEmpty()) return SaveResult::Cancelled;
    fileName_ = chosen;
  }
  return WriteFile(fileName_) ? SaveResult::Saved : SaveResult::Failed;
}

void TEditorForm::SaveTextAs() {
  const QString chosen = AskSaveName(QString());
  if (chosen.isEmpty()) return;
  fileName_ = chosen;
  if (!WriteFile(chosen)) return;
  ShowFileCaption();
  edit_->document()->setModified(false);
}

void TEditorForm::PrintText() {
  QPrinter printer;
  if (Dialogs().print(this, printer)) PrintDocument(*edit_->document(), printer);
}

bool TEditorForm::LoadFile(const QString& path) {
  const std::optional<std::string> bytes = ReadFileBytes(NativePath(ExpandCurrentPath(QToDisk(path))));
  if (!bytes) {
    ShowMessage(this, QMessageBox::Critical, QString::fromUtf8(kProgramName),
                path + ": " + QString::fromStdString(FileErrorText(errno)));
    return false;
  }
  const rtf::TextFileContent content = rtf::ReadTextFile(*bytes, plainText_, AnsiCodePage());
  if (plainText_) edit_->setPlainText(QString::fromStdString(rtf::DocumentText(content.document)));
  else ShowRichDocument(content.document, *edit_->document());
  edit_->moveCursor(QTextCursor::Start);
  if (!content.problem.empty())
    ShowMessage(this, QMessageBox::Warning, QString::fromUtf8(kProgramName),
                path + ": " + QString::fromStdString(content.problem));
  return true;
}

bool TEditorForm::WriteFile(const QString& path) {
  const std::string bytes = rtf::TextFileBytes(RichDocumentOf(*edit_->document()), plainText_, AnsiCodePage());
  const Status written = WriteFileAtomic(NativePath(ExpandCurrentPath(QToDisk(path))), bytes);
  if (!written) {
    ShowMessage(this, QMessageBox::Critical, QString::fromUtf8(kProgramName), QString::fromStdString(written.error));
    return false;
  }
  return true;
}

void TEditorForm::reject() {
  if (Modified()) {
    const QString name = fileName_.isEmpty() ? QString::fromLatin1(kUnnamedText) : FileNameOnly(fileName_);
    const QMessageBox::StandardButton answer =
        AskMessage(this, QMessageBox::Warning, QString::fromUtf8(kProgramName),
                   IString(kTextSaveTextChangesTo) + name + "?",
                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return;
    // A cancelled save dialog still closes the window; a failed write keeps the text open.
    if (answer == QMessageBox::Yes && SaveText() == SaveResult::Failed) return;
  }
  QDialog::reject();
}

void TEditorForm::MergeFormat(const QTextCharFormat& format) {
  QTextCursor cursor = edit_->textCursor();
  if (cursor.hasSelection()) cursor.mergeCharFormat(format);
  edit_->mergeCurrentCharFormat(format);
  edit_->setFocus();
}

void TEditorForm::ChooseFont() {
  const std::optional<QFont> chosen = Dialogs().font(this, edit_->currentCharFormat().font());
  if (!chosen) return;
  QTextCharFormat format;
  format.setFont(*chosen, QTextCharFormat::FontPropertiesSpecifiedOnly);
  MergeFormat(format);
  edit_->document()->setModified(true);
}

void TEditorForm::ChooseColor() {
  const QTextCharFormat current = edit_->currentCharFormat();
  const QColor shown = current.hasProperty(QTextFormat::ForegroundBrush) ? current.foreground().color() : QColor(Qt::black);
  const std::optional<QColor> chosen = Dialogs().color(this, shown);
  if (!chosen) return;
  QTextCharFormat format;
  format.setForeground(*chosen);
  MergeFormat(format);
}

// The blocks the selection touches (the caret's block when nothing is selected).
std::vector<QTextBlock> TEditorForm::SelectedBlocks() const {
  const QTextCursor cursor = edit_->textCursor();
  std::vector<QTextBlock> blocks;
  const QTextBlock last = edit_->document()->findBlock(cursor.selectionEnd());
  for (QTextBlock block = edit_->document()->findBlock(cursor.selectionStart()); block.isValid(); block = block.next()) {
    blocks.push_back(block);
    if (block == last) break;
  }
  return blocks;
}

void TEditorForm::SetList(int style, bool on) {
  QTextCursor cursor = edit_->textCursor();
  cursor.beginEditBlock();
  // The selected paragraphs leave their lists; turned on, they form a new list of the style.
  int indent = 1;
  for (const QTextBlock& block : SelectedBlocks()) {
    if (QTextList* list = block.textList()) {
      indent = list->format().indent();
      list->remove(block);
    }
    QTextBlockFormat format = block.blockFormat();
    format.setIndent(0);
    QTextCursor(block).setBlockFormat(format);
  }
  if (on) {
    QTextListFormat format;
    format.setStyle(static_cast<QTextListFormat::Style>(style));
    format.setIndent(indent);
    cursor.createList(format);
  }
  cursor.endEditBlock();
  ShowParagraphFormat();
  edit_->setFocus();
}

void TEditorForm::Indent(int steps) {
  QTextCursor cursor = edit_->textCursor();
  cursor.beginEditBlock();
  const qreal step = static_cast<qreal>(kIndentStepTwips) / kTwipsPerPixel;
  for (const QTextBlock& block : SelectedBlocks()) {
    QTextBlockFormat format = block.blockFormat();
    format.setLeftMargin(std::max<qreal>(0, format.leftMargin() + steps * step));
    QTextCursor(block).setBlockFormat(format);
  }
  cursor.endEditBlock();
  edit_->setFocus();
}

void TEditorForm::ShowCharFormat(const QTextCharFormat& format) {
  actions_["BoldAct"]->setChecked(format.fontWeight() > QFont::Medium);
  actions_["ItalicAct"]->setChecked(format.fontItalic());
  actions_["UnderlineAct"]->setChecked(format.fontUnderline());
  actions_["StrikeOutAct"]->setChecked(format.fontStrikeOut());
  const QFont font = format.font();
  QSignalBlocker fontSignals(fontBox_), sizeSignals(sizeBox_);
  fontBox_->setCurrentFont(font);
  sizeBox_->setEditText(QString::number(font.pointSizeF()));
  actions_["ColorAct"]->setIcon(
      ColorIcon(format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : QColor(Qt::black)));
}

void TEditorForm::ShowParagraphFormat() {
  const Qt::Alignment alignment = edit_->alignment() & Qt::AlignHorizontal_Mask;
  if (alignment & Qt::AlignHCenter) actions_["CenterAct"]->setChecked(true);
  else if (alignment & (Qt::AlignRight | Qt::AlignTrailing)) actions_["RightAct"]->setChecked(true);
  else actions_["LeftAct"]->setChecked(true);
  const QTextList* list = edit_->textCursor().currentList();
  const bool bullets = list && list->format().style() == QTextListFormat::ListDisc;
  actions_["BulletsAct"]->setChecked(bullets);
  actions_["NumberingAct"]->setChecked(list && !bullets);
}

void PrintDocument(const QTextDocument& document, QPrinter& printer) {
  printer.setDocName(QString());
  document.print(&printer);
}

QString EditTextFile(QWidget* parent, const Project& project, const std::string& storedPath) {
  const QString file = ProjectFileExists(project, storedPath) ? DiskToQ(ResolveProjectPath(project, storedPath)) : QString();
  TEditorForm editor(file, DiskToQ(project.filePath), parent);
  editor.exec();
  return editor.FileName();
}

}  // namespace bvq::app
