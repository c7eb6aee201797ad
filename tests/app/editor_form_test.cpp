// The text editor window through its real widgets: typing and formatting survive a save and a
// reopen, files made by LibreOffice open with their formatting, Russian and English text saved
// in the project's code page reads back in unrtf and LibreOffice, the close question, plain
// text files, the names the dialogs propose, and a failed save that leaves the old file alone.
#include <signal.h>
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#include "editors/app_dialogs.h"
#include "app/editor_form.h"
#include "app/rich_text_bridge.h"
#include "editors/qt_text.h"
#include "oracle_tools.h"
#include "platform/shell_folders.h"
#include "rich_text_support.h"
#include "richedit_oracle.h"
#include "rtf/rtf_reader.h"
#include "test_support.h"
#include "util/code_page.h"
#include "util/files.h"
#include "wine_capability.h"

namespace bvq::test {
namespace {

using app::TEditorForm;
using rtf::test::ParagraphWith;
using rtf::test::RunWith;
using rtf::test::StyledText;

struct Question {
  QMessageBox::Icon icon;
  QString caption, text;
  QMessageBox::StandardButtons buttons;
};

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedCodePage_ = AnsiCodePage();
    AppDialogs& d = Dialogs();
    d.message = [this](QWidget*, QMessageBox::Icon icon, const QString& caption, const QString& text,
                       QMessageBox::StandardButtons buttons) {
      questions.push_back({icon, caption, text, buttons});
      if (answers.empty()) return QMessageBox::Ok;
      const QMessageBox::StandardButton answer = answers.front();
      answers.pop_front();
      return answer;
    };
    d.openFile = [this](QWidget*, const QString&, const QString& folder, const QString& filter) {
      openFolders.push_back(folder);
      openFilters.push_back(filter);
      return Take(openAnswers);
    };
    d.saveFile = [this](QWidget*, const QString&, const QString& proposed, const QString& filter) {
      saveProposals.push_back(proposed);
      saveFilters.push_back(filter);
      return Take(saveAnswers);
    };
    d.color = [this](QWidget*, const QColor&) -> std::optional<QColor> { return colorAnswer; };
  }
  void TearDown() override {
    ResetDialogs();
    SetAnsiCodePage(savedCodePage_);
  }

  static QString Take(std::deque<QString>& answers) {
    if (answers.empty()) return {};
    const QString answer = answers.front();
    answers.pop_front();
    return answer;
  }

  static std::unique_ptr<TEditorForm> Open(const std::string& file, const std::string& projectFile = {}) {
    auto editor = std::make_unique<TEditorForm>(DiskToQ(file), DiskToQ(projectFile));
    editor->show();
    return editor;
  }
  static QTextEdit* Text(TEditorForm& editor) { return editor.findChild<QTextEdit*>("RichEdit1"); }
  static QAction* Act(TEditorForm& editor, const char* name) {
    QAction* action = editor.findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  // Key presses carrying the characters as text, as a keyboard layout of any script sends them.
  static void Type(TEditorForm& editor, const QString& text) {
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(Text(editor), &press);
      QApplication::sendEvent(Text(editor), &release);
    }
  }
  static void Enter(TEditorForm& editor) { QTest::keyClick(Text(editor), Qt::Key_Return); }
  static rtf::RichDocument Shown(TEditorForm& editor) { return app::RichDocumentOf(*Text(editor)->document()); }

  TempFolder dir;
  std::vector<Question> questions;
  std::deque<QMessageBox::StandardButton> answers;
  std::deque<QString> openAnswers, saveAnswers;
  std::vector<QString> openFolders, openFilters, saveProposals, saveFilters;
  std::optional<QColor> colorAnswer;

 private:
  int savedCodePage_ = kDefaultAnsiCodePage;
};

// A document with all the formatting the widget holds comes back from the widget unchanged; list
// items keep one indent step per level, which the widget needs for their marks.
TEST(RichTextBridge, DocumentComesBackFromTheWidget) {
  rtf::RichDocument document = rtf::test::SampleDocument(rtf::kAnsiCharset);
  QTextDocument widget;
  app::ShowRichDocument(document, widget);
  for (rtf::Paragraph& paragraph : document.paragraphs)
    if (paragraph.format.list.style != rtf::ListStyle::None)
      paragraph.format.leftIndentTwips = app::kIndentStepTwips * (paragraph.format.list.level + 1);
  EXPECT_EQ(app::RichDocumentOf(widget), document);
  // The widget shows real lists: the bullets in one list, "two" the second item after "one".
  const QTextBlock first = widget.findBlockByNumber(5), second = widget.findBlockByNumber(6);
  ASSERT_NE(first.textList(), nullptr);
  EXPECT_EQ(first.textList(), second.textList());
  EXPECT_EQ(first.textList()->format().style(), QTextListFormat::ListDisc);
  EXPECT_EQ(widget.findBlockByNumber(7).textList(), widget.findBlockByNumber(9).textList());
  EXPECT_EQ(widget.findBlockByNumber(8).textList()->format().indent(), 2);
}

// Typed and formatted through the menus and the tool bar, saved, reopened: all is still there.
TEST_F(EditorTest, FormattingSurvivesSaveAndReopen) {
  const std::string path = dir / "licence.rtf";
  {
    auto editor = Open("");
    EXPECT_EQ(editor->windowTitle(), "Text editor");
    Act(*editor, "BoldAct")->trigger();
    Type(*editor, "Licence");
    Act(*editor, "BoldAct")->trigger();
    Type(*editor, " terms ");
    Act(*editor, "ItalicAct")->trigger();
    Type(*editor, "italic");
    Act(*editor, "ItalicAct")->trigger();
    Act(*editor, "UnderlineAct")->trigger();
    Type(*editor, "under");
    Act(*editor, "UnderlineAct")->trigger();
    Act(*editor, "StrikeOutAct")->trigger();
    Type(*editor, "struck");
    Act(*editor, "StrikeOutAct")->trigger();
    colorAnswer = QColor(200, 0, 0);
    Act(*editor, "ColorAct")->trigger();
    Type(*editor, "red");
    Enter(*editor);
    Act(*editor, "CenterAct")->trigger();
    auto* size = editor->findChild<QComboBox*>("FontSizeBox");
    ASSERT_NE(size, nullptr);
    size->lineEdit()->selectAll();
    QTest::keyClicks(size->lineEdit(), "16");
    QTest::keyClick(size->lineEdit(), Qt::Key_Return);
    emit editor->findChild<QFontComboBox*>("FontNameBox")->textActivated("Courier New");
    Type(*editor, "Centred");
    Enter(*editor);
    Act(*editor, "LeftAct")->trigger();
    Act(*editor, "BulletsAct")->trigger();
    Type(*editor, "first");
    Enter(*editor);
    Type(*editor, "second");
    Enter(*editor);
    Act(*editor, "NumberingAct")->trigger();
    Type(*editor, "one");
    Enter(*editor);
    Type(*editor, "two");
    Enter(*editor);
    Act(*editor, "NumberingAct")->trigger();
    Act(*editor, "IndentAct")->trigger();
    Type(*editor, "indented");
    EXPECT_TRUE(editor->Modified());

    saveAnswers = {DiskToQ(dir / "licence")};  // the default extension is added
    Act(*editor, "SaveAct")->trigger();
    ASSERT_EQ(saveProposals.size(), 1u);
    EXPECT_EQ(saveProposals[0], DiskToQ(DocumentsFolder() + "Project1.rtf"));
    EXPECT_EQ(saveFilters[0], "RTF files (*.rtf)");
    EXPECT_EQ(editor->FileName(), DiskToQ(path));
    EXPECT_FALSE(editor->Modified());
    EXPECT_EQ(editor->windowTitle(), "Text editor");  // Save keeps the caption
    editor->close();
    EXPECT_TRUE(questions.empty());
  }
  ASSERT_TRUE(FileExists(path));
  auto editor = Open(path);
  EXPECT_EQ(editor->windowTitle(), "Text editor - licence.rtf");
  EXPECT_FALSE(editor->Modified());
  const rtf::RichDocument shown = Shown(*editor);
  EXPECT_EQ(StyledText(shown), "[b]Licence| terms |[i]italic|[u]under|[s]struck|red / Centred / first / second / "
                               "one / two / indented");
  EXPECT_EQ(RunWith(shown, "red")->format.color, (rtf::Color{200, 0, 0}));
  EXPECT_EQ(RunWith(shown, "struck")->format.color, std::nullopt);
  EXPECT_EQ(RunWith(shown, "Centred")->format.sizeHalfPoints, 32);
  EXPECT_EQ(RunWith(shown, "Centred")->format.fontName, "Courier New");
  EXPECT_EQ(RunWith(shown, "Licence")->format.sizeHalfPoints, rtf::kDefaultFontSizeHalfPoints);
  EXPECT_EQ(ParagraphWith(shown, "Centred")->format.alignment, rtf::Alignment::Centre);
  EXPECT_EQ(ParagraphWith(shown, "Licence")->format.alignment, rtf::Alignment::Left);
  EXPECT_EQ(ParagraphWith(shown, "first")->format.list, (rtf::ListMark{rtf::ListStyle::Bullet, 0, 0}));
  EXPECT_EQ(ParagraphWith(shown, "second")->format.list, (rtf::ListMark{rtf::ListStyle::Bullet, 0, 0}));
  EXPECT_EQ(ParagraphWith(shown, "one")->format.list, (rtf::ListMark{rtf::ListStyle::Decimal, 0, 1}));
  EXPECT_EQ(ParagraphWith(shown, "two")->format.list, (rtf::ListMark{rtf::ListStyle::Decimal, 0, 2}));
  EXPECT_EQ(ParagraphWith(shown, "indented")->format.list.style, rtf::ListStyle::None);
  EXPECT_EQ(ParagraphWith(shown, "indented")->format.leftIndentTwips, app::kIndentStepTwips);
  // The tool bar follows the caret.
  QTextCursor caret = Text(*editor)->textCursor();
  caret.setPosition(3);
  Text(*editor)->setTextCursor(caret);
  EXPECT_TRUE(Act(*editor, "BoldAct")->isChecked());
  EXPECT_TRUE(Act(*editor, "LeftAct")->isChecked());
  caret.setPosition(Text(*editor)->document()->findBlockByNumber(1).position() + 2);
  Text(*editor)->setTextCursor(caret);
  EXPECT_FALSE(Act(*editor, "BoldAct")->isChecked());
  EXPECT_TRUE(Act(*editor, "CenterAct")->isChecked());
}

// The formatting of the licence sample below as the editor's text widget shows it.
void ExpectSampleLicenceFormatting(const QTextDocument& document) {
  auto formatOf = [&](const QString& words) {
    const QTextCursor found = document.find(words);
    EXPECT_FALSE(found.isNull()) << words.toStdString();
    return found.charFormat();
  };
  EXPECT_EQ(formatOf("bold words").fontWeight(), QFont::Bold);
  EXPECT_FALSE(formatOf("Plain").fontWeight() > QFont::Medium);
  EXPECT_TRUE(formatOf("italic words").fontItalic());
  EXPECT_FALSE(formatOf("bold words").fontItalic());
  EXPECT_EQ(formatOf("red words").foreground().color(), QColor(255, 0, 0));
  const QTextBlock centred = document.find(QString::fromUtf8("Лицензионное соглашение")).block();
  EXPECT_TRUE(centred.blockFormat().alignment() & Qt::AlignHCenter);
  auto listOf = [&](const char* words) { return document.find(words).block().textList(); };
  ASSERT_NE(listOf("First bullet"), nullptr);
  EXPECT_EQ(listOf("First bullet"), listOf("Second bullet"));
  EXPECT_EQ(listOf("First bullet")->format().style(), QTextListFormat::ListDisc);
  ASSERT_NE(listOf("First number"), nullptr);
  EXPECT_EQ(listOf("First number")->format().style(), QTextListFormat::ListDecimal);
  EXPECT_EQ(listOf("Second number")->itemNumber(document.find("Second number").block()), 1);
  EXPECT_EQ(listOf("Plain"), nullptr);
}

// Words that only LibreOffice wrote: the RTF comes from its own conversion at test time. The
// formatting is there when the file opens, and again after the editor saved it and opened it anew.
TEST_F(EditorTest, LibreOfficeRtfOpensWithItsFormatting) {
  const std::string soffice = rtf::test::FindProgram("soffice");
  if (soffice.empty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  const std::string html = dir / "licence.html";
  WriteFile(html, R"(<!DOCTYPE html><html><head><meta charset="utf-8"></head><body>
<p>Plain <b>bold words</b> and <i>italic words</i> and <font color="#ff0000">red words</font>.</p>
<p align="center">Лицензионное соглашение</p>
<ul><li>First bullet</li><li>Second bullet</li></ul>
<ol><li>First number</li><li>Second number</li></ol>
</body></html>
)");
  const rtf::test::CommandResult converted =
      rtf::test::ConvertWithLibreOffice(soffice, {html}, "rtf", dir / "out", dir / "profile", "HTML (StarWriter)");
  const std::string rtf = dir / "out/licence.rtf";
  ASSERT_TRUE(FileExists(rtf)) << converted.output;

  const std::string saved = dir / "saved.rtf";
  {
    auto editor = Open(rtf);
    EXPECT_TRUE(questions.empty()) << questions.front().text.toStdString();  // read without problems
    ExpectSampleLicenceFormatting(*Text(*editor)->document());
    saveAnswers = {DiskToQ(saved)};
    Act(*editor, "SaveAsAct")->trigger();
  }
  ASSERT_TRUE(FileExists(saved));
  auto reopened = Open(saved);
  EXPECT_TRUE(questions.empty()) << questions.front().text.toStdString();
  ExpectSampleLicenceFormatting(*Text(*reopened)->document());
}

// pandoc writes list marks as text before a tab, with a hanging indent: the editor keeps them
// as such paragraphs, with their bold and italic words, through a save and a new opening.
TEST_F(EditorTest, PandocRtfOpensWithItsFormatting) {
  const std::string pandoc = rtf::test::FindProgram("pandoc");
  if (pandoc.empty()) GTEST_SKIP() << "pandoc is not installed";
  const std::string markdown = dir / "licence.md";
  WriteFile(markdown, "Plain **bold words** and *italic words*.\n\n- First bullet\n- Second bullet\n\n"
                      "1. First number\n2. Second number\n\nЛицензионное соглашение.\n");
  const std::string rtf = dir / "licence.rtf";
  const rtf::test::CommandResult converted = rtf::test::RunCommand(
      rtf::test::Quoted(pandoc) + " -s -f markdown -t rtf -o " + rtf::test::Quoted(rtf) + " " + rtf::test::Quoted(markdown));
  ASSERT_EQ(converted.status, 0) << converted.output;

  auto expectFormatting = [](const rtf::RichDocument& shown) {
    EXPECT_EQ(StyledText(shown), "Plain |[b]bold words| and |[i]italic words|. / •\tFirst bullet / •\tSecond bullet / "
                                 "1.\tFirst number / 2.\tSecond number / Лицензионное соглашение.");
    const rtf::ParagraphFormat& item = ParagraphWith(shown, "First bullet")->format;
    EXPECT_GT(item.leftIndentTwips, 0);
    EXPECT_EQ(item.firstLineIndentTwips, -item.leftIndentTwips);
    EXPECT_EQ(ParagraphWith(shown, "Second number")->format.leftIndentTwips, item.leftIndentTwips);
    EXPECT_EQ(ParagraphWith(shown, "Plain")->format.leftIndentTwips, 0);
  };
  const std::string saved = dir / "saved.rtf";
  {
    auto editor = Open(rtf);
    EXPECT_TRUE(questions.empty()) << questions.front().text.toStdString();
    expectFormatting(Shown(*editor));
    saveAnswers = {DiskToQ(saved)};
    Act(*editor, "SaveAsAct")->trigger();
  }
  auto reopened = Open(saved);
  EXPECT_TRUE(questions.empty()) << questions.front().text.toStdString();
  expectFormatting(Shown(*reopened));
}

// Russian and English in one licence, saved in code page 1251 as a Russian system would, and
// read by two programs nobody here wrote.
TEST_F(EditorTest, RussianAndEnglishSavedInTheCodePageReadElsewhere) {
  SetAnsiCodePage(1251);
  const std::string path = dir / "licence.rtf";
  {
    auto editor = Open("");
    Act(*editor, "BoldAct")->trigger();
    Type(*editor, QString::fromUtf8("Лицензионное соглашение"));
    Act(*editor, "BoldAct")->trigger();
    Type(*editor, " License agreement");
    Enter(*editor);
    Act(*editor, "ItalicAct")->trigger();
    Type(*editor, QString::fromUtf8("Ёжик and hedgehog"));
    saveAnswers = {DiskToQ(path)};
    Act(*editor, "SaveAct")->trigger();
  }
  const std::string bytes = ReadFileBytes(path).value_or("");
  EXPECT_NE(bytes.find("\\ansicpg1251"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("\\'cb\\'e8\\'f6"), std::string::npos) << bytes;  // "Лиц" as code page bytes
  const std::vector<std::string> words = {"Лицензионное соглашение", "License agreement", "Ёжик and hedgehog"};

  const std::string unrtf = rtf::test::FindProgram("unrtf");
  if (unrtf.empty()) {
    ADD_FAILURE() << "unrtf is not installed";
  } else {
    const rtf::test::CommandResult html = rtf::test::RunCommand(rtf::test::Quoted(unrtf) + " --html " + rtf::test::Quoted(path));
    ASSERT_EQ(html.status, 0) << html.output;
    for (const std::string& word : words) EXPECT_NE(rtf::test::HtmlText(html.output).find(word), std::string::npos) << word;
    EXPECT_TRUE(rtf::test::IsInside(html.output, "&#1051;&#1080;&#1094;", "b")) << html.output;  // unrtf's "Лиц"
    EXPECT_FALSE(rtf::test::IsInside(html.output, "License agreement", "b")) << html.output;
    EXPECT_TRUE(rtf::test::IsInside(html.output, "hedgehog", "i")) << html.output;
  }
  const std::string soffice = rtf::test::FindProgram("soffice");
  if (soffice.empty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  const rtf::test::CommandResult converted =
      rtf::test::ConvertWithLibreOffice(soffice, {path}, "html", dir / "html", dir / "profile");
  const std::string html = ReadFileBytes(dir / "html/licence.html").value_or("");
  ASSERT_FALSE(html.empty()) << converted.output;
  for (const std::string& word : words) EXPECT_NE(rtf::test::HtmlText(html).find(word), std::string::npos) << word;
  EXPECT_TRUE(rtf::test::IsInside(html, "Лицензионное", "b")) << html;
  EXPECT_TRUE(rtf::test::IsInside(html, "hedgehog", "i")) << html;
}

// Closing with unsaved changes asks string 164 + the file name + "?"; each answer does what it says.
TEST_F(EditorTest, CloseQuestionOnUnsavedChanges) {
  struct Case {
    const char* name;
    std::vector<QMessageBox::StandardButton> answers;
    QString saveAnswer;  // the save dialog's answer when it is asked
    bool staysOpen, written;
  };
  const std::string target = dir / "saved.rtf";
  for (const Case& c : {Case{"cancel", {QMessageBox::Cancel}, {}, true, false},
                        Case{"no", {QMessageBox::No}, {}, false, false},
                        Case{"yes, save dialog cancelled", {QMessageBox::Yes}, {}, false, false},
                        Case{"yes, saved", {QMessageBox::Yes}, DiskToQ(target), false, true}}) {
    SCOPED_TRACE(c.name);
    questions.clear();
    std::filesystem::remove(target);
    auto editor = Open("");
    Type(*editor, "x");
    answers.assign(c.answers.begin(), c.answers.end());
    saveAnswers = {c.saveAnswer};
    editor->close();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Save the changes to Project1.rtf?");
    EXPECT_EQ(questions[0].caption, "Belvandorithquessal");
    EXPECT_EQ(questions[0].icon, QMessageBox::Warning);
    EXPECT_EQ(questions[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(editor->isVisible(), c.staysOpen);
    EXPECT_EQ(FileExists(target), c.written);
    if (c.written) {
      EXPECT_NE(ReadFileBytes(target).value_or("").find("x"), std::string::npos);
    }
  }
  // Nothing changed: no question. Escape closes too, through the same question.
  questions.clear();
  auto untouched = Open("");
  untouched->close();
  EXPECT_FALSE(untouched->isVisible());
  EXPECT_TRUE(questions.empty());
  auto named = Open(target);
  Type(*named, "y");
  answers = {QMessageBox::Cancel};
  QTest::keyClick(Text(*named), Qt::Key_Escape);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].text, "Save the changes to saved.rtf?");
  EXPECT_TRUE(named->isVisible());
}

// A write that fails part-way (the file size limit stops it) reports the error and leaves the
// old file as it was, without a temporary file beside it; the text stays unsaved in the window.
TEST_F(EditorTest, FailedSaveLeavesTheOldFileIntact) {
  const std::string old = "{\\rtf1\\ansi old licence text\\par}";
  const std::string path = dir / "licence.rtf";
  WriteFile(path, old);
  auto editor = Open(path);
  Type(*editor, QString(400, QChar('z')));

  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit limited = saved;
  limited.rlim_cur = 64;
  signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  Act(*editor, "SaveAct")->trigger();
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, SIG_DFL);

  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].icon, QMessageBox::Critical);
  EXPECT_NE(questions[0].text.indexOf(DiskToQ(path)), -1) << questions[0].text.toStdString();
  EXPECT_EQ(ReadFileBytes(path).value_or(""), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
  EXPECT_TRUE(editor->Modified());
  // With the limit gone the same save works.
  Act(*editor, "SaveAct")->trigger();
  EXPECT_FALSE(editor->Modified());
  EXPECT_NE(ReadFileBytes(path).value_or("").find("zzzz"), std::string::npos);
}

// A ".txt" file is edited as plain text and saved as plain text in the code page.
TEST_F(EditorTest, TextFilesStayPlainText) {
  SetAnsiCodePage(1251);
  const std::string path = dir / "readme.TXT";
  WriteFile(path, "\xCF\xF0\xE8\xE2\xE5\xF2\r\n{world}\r\n");  // "Привет" in code page 1251
  auto editor = Open(path);
  EXPECT_TRUE(editor->PlainTextMode());
  EXPECT_EQ(Text(*editor)->toPlainText(), QString::fromUtf8("Привет\n{world}\n"));
  for (const char* name : {"BoldAct", "FontAct", "CenterAct", "BulletsAct", "ColorAct"})
    EXPECT_FALSE(Act(*editor, name)->isEnabled()) << name;
  Text(*editor)->moveCursor(QTextCursor::End);
  Type(*editor, QString::fromUtf8("мир"));
  Act(*editor, "SaveAct")->trigger();
  EXPECT_TRUE(saveProposals.empty());  // the file has a name: no dialog
  EXPECT_EQ(ReadFileBytes(path).value_or(""), "\xCF\xF0\xE8\xE2\xE5\xF2\r\n{world}\r\n\xEC\xE8\xF0");
}

// With a saved project the dialogs start beside it and Save proposes its name with "rtf";
// Save As proposes nothing and gives the caption the new name; Open loads and names the file.
TEST_F(EditorTest, DialogsStartBesideTheProject) {
  const std::string project = dir / "Demo.bvq";
  WriteFile(project, "project");
  WriteFile(dir / "other.rtf", "{\\rtf1\\ansi {\\b other}\\par}");
  auto editor = Open("", project);
  Type(*editor, "text");
  Act(*editor, "SaveAct")->trigger();  // cancelled
  ASSERT_EQ(saveProposals.size(), 1u);
  EXPECT_EQ(saveProposals[0], DiskToQ(dir / "Demo.rtf"));
  EXPECT_TRUE(editor->FileName().isEmpty());
  EXPECT_TRUE(editor->Modified());

  saveAnswers = {DiskToQ(dir / "copy.rtf")};
  Act(*editor, "SaveAsAct")->trigger();
  EXPECT_EQ(saveProposals.back(), "");
  EXPECT_EQ(editor->windowTitle(), "Text editor - copy.rtf");
  EXPECT_TRUE(FileExists(dir / "copy.rtf"));

  openAnswers = {DiskToQ(dir / "other.rtf")};
  Act(*editor, "OpenAct")->trigger();
  EXPECT_EQ(openFolders.back(), DiskToQ(dir.Path()).chopped(1));
  EXPECT_EQ(openFilters.back(), "All documents (*.rtf *.txt);;RTF files (*.rtf);;Text files (*.txt);;All files (*.*)");
  EXPECT_EQ(editor->windowTitle(), "Text editor - other.rtf");
  EXPECT_EQ(StyledText(Shown(*editor)), "[b]other");
  EXPECT_FALSE(editor->Modified());

  // A file that cannot be read: an error, the name is taken, the text stays.
  openAnswers = {DiskToQ(dir / "gone.rtf")};
  Act(*editor, "OpenAct")->trigger();
  EXPECT_EQ(questions.back().icon, QMessageBox::Critical);
  EXPECT_EQ(editor->FileName(), DiskToQ(dir / "gone.rtf"));
  EXPECT_EQ(StyledText(Shown(*editor)), "[b]other");
}

// Damaged RTF opens with what could be read and a warning naming the file.
TEST_F(EditorTest, DamagedRtfOpensWithAWarning) {
  const std::string path = dir / "cut.rtf";
  WriteFile(path, "{\\rtf1\\ansi {\\b bold} and more");
  auto editor = Open(path);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].icon, QMessageBox::Warning);
  EXPECT_NE(questions[0].text.indexOf("cut.rtf"), -1);
  EXPECT_EQ(StyledText(Shown(*editor)), "[b]bold| and more");
  EXPECT_FALSE(editor->Modified());
}

// Print hands the window's text to the printer the print dialog set up (here a PDF file, read
// back by pdftotext): every line, Russian included, with an empty document title. A cancelled
// dialog prints nothing.
TEST_F(EditorTest, PrintWritesTheTextToThePrinter) {
  const std::string pdftotext = rtf::test::FindProgram("pdftotext");
  if (pdftotext.empty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  auto editor = Open("");
  Act(*editor, "BoldAct")->trigger();
  Type(*editor, QString::fromUtf8("Лицензионное соглашение"));
  Act(*editor, "BoldAct")->trigger();
  Enter(*editor);
  Type(*editor, "License agreement");
  Enter(*editor);
  Act(*editor, "BulletsAct")->trigger();
  Type(*editor, QString::fromUtf8("Ёжик and hedgehog"));

  const std::string pdf = dir / "printed.pdf";
  bool confirm = false;
  Dialogs().print = [&](QWidget*, QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(DiskToQ(pdf));
    printer.setDocName("named by the dialog");
    return confirm;
  };
  Act(*editor, "PrintAct")->trigger();
  EXPECT_FALSE(FileExists(pdf));

  confirm = true;
  Act(*editor, "PrintAct")->trigger();
  ASSERT_TRUE(FileExists(pdf));
  const rtf::test::CommandResult text =
      rtf::test::RunCommand(rtf::test::Quoted(pdftotext) + " -enc UTF-8 " + rtf::test::Quoted(pdf) + " -");
  ASSERT_EQ(text.status, 0) << text.output;
  for (const char* line : {"Лицензионное соглашение", "License agreement", "Ёжик and hedgehog"})
    EXPECT_NE(text.output.find(line), std::string::npos) << line << " in:\n" << text.output;
  const rtf::test::CommandResult info =
      rtf::test::RunCommand(rtf::test::Quoted(rtf::test::FindProgram("pdfinfo")) + " " + rtf::test::Quoted(pdf));
  EXPECT_EQ(info.output.find("named by the dialog"), std::string::npos) << info.output;
}

// A licence typed in the editor in Russian and English shows, formatted, in the rich-edit
// control the installer's licence page uses (under Wine). The file stays in the build tree for
// the installer's screenshot (tests/stub/wizard_screenshots.py --licence=FILE).
TEST_F(EditorTest, TypedLicenceShowsFormattedInTheInstallersRichEdit) {
  if (const std::string reason = bvq::testing::WineSkipReason(); !reason.empty()) GTEST_SKIP() << reason;
  if (const std::string reason = rtf::test::RichEditMissingReason(); !reason.empty()) GTEST_SKIP() << reason;
  SetAnsiCodePage(1251);
  const std::string path = std::string(BVQ_BINARY_DIR) + "/tests/editor-licence.rtf";
  {
    auto editor = Open("");
    Act(*editor, "CenterAct")->trigger();
    Act(*editor, "BoldAct")->trigger();
    Type(*editor, QString::fromUtf8("Лицензионное соглашение — License agreement"));
    Act(*editor, "BoldAct")->trigger();
    Enter(*editor);
    Act(*editor, "LeftAct")->trigger();
    Type(*editor, QString::fromUtf8("Программа "));
    Act(*editor, "ItalicAct")->trigger();
    Type(*editor, "Example Suite");
    Act(*editor, "ItalicAct")->trigger();
    Type(*editor, " is free software.");
    Enter(*editor);
    Act(*editor, "BulletsAct")->trigger();
    Type(*editor, QString::fromUtf8("Первый пункт, first item"));
    Enter(*editor);
    Type(*editor, QString::fromUtf8("второй пункт, second item"));
    Enter(*editor);
    Act(*editor, "BulletsAct")->trigger();
    Type(*editor, QString::fromUtf8("Цвет: "));
    colorAnswer = QColor(200, 0, 0);
    Act(*editor, "ColorAct")->trigger();
    Type(*editor, QString::fromUtf8("красный, red"));
    saveAnswers = {DiskToQ(path)};
    std::filesystem::remove(path);
    Act(*editor, "SaveAct")->trigger();
  }
  ASSERT_TRUE(FileExists(path));
  const rtf::test::RichEditView view =
      rtf::test::ShowInRichEdit(path, std::string(BVQ_BINARY_DIR) + "/tests/richedit-wineprefix/app");
  ASSERT_EQ(view.error, "");
  auto run = [](const char* styles, const char* colour, const char* text) {
    return rtf::test::RichEditRun{styles, colour, rtf::kDefaultFontSizeHalfPoints * 10, rtf::kDefaultFontName, text};
  };
  const std::vector<rtf::test::RichEditParagraph> expected = {
      {"centre", "none", {run("b", "auto", "Лицензионное соглашение — License agreement")}},
      {"left", "none", {run("-", "auto", "Программа "), run("i", "auto", "Example Suite"), run("-", "auto", " is free software.")}},
      {"left", "bullet", {run("-", "auto", "Первый пункт, first item")}},
      {"left", "bullet", {run("-", "auto", "второй пункт, second item")}},
      {"left", "none", {run("-", "auto", "Цвет: "), run("-", "C80000", "красный, red")}},
  };
  ASSERT_EQ(view.paragraphs.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(rtf::test::Describe(view.paragraphs[i]), rtf::test::Describe(expected[i])) << "paragraph " << i;
}

}  // namespace
}  // namespace bvq::test
