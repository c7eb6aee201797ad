// The licence/information tab of the main window: its captions come from the interface
// language, and its editor buttons open the text editor on the selected entry's file and
// store the file the editor names.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "../editors/modal_driver.h"
#include "app/editor_form.h"
#include "app_fixture.h"
#include "editors/qt_text.h"
#include "platform/shell_folders.h"

namespace bvq::test {
namespace {

class LicenceTabTest : public AppFixture {};

TEST_F(LicenceTabTest, CaptionsComeFromTheLanguageFile) {
  EXPECT_EQ(Widget<QLabel>("Label21")->text(), "Language:");
  EXPECT_EQ(Widget<QLabel>("Label28")->text(), "Licence file:");
  EXPECT_EQ(Widget<QLabel>("Label29")->text(), "Language:");
  EXPECT_EQ(Widget<QLabel>("Label30")->text(), "Information file:");
  EXPECT_EQ(Widget<QPushButton>("Button89")->text(), "Edit...");
  EXPECT_EQ(Widget<QPushButton>("Button90")->text(), "Edit...");
  // No caption on the tab is a control's name.
  QWidget* tab = Widget<QWidget>("TabSheet2");
  for (QLabel* label : tab->findChildren<QLabel*>())
    EXPECT_EQ(form->findChild<QObject*>(label->text()), nullptr) << label->text().toStdString();
  // The captions follow the licence switch with the rest of the group.
  Widget<QCheckBox>("CheckBox4")->setChecked(false);
  EXPECT_FALSE(Widget<QLabel>("Label28")->isEnabled());
  Widget<QCheckBox>("CheckBox4")->setChecked(true);
  EXPECT_TRUE(Widget<QLabel>("Label28")->isEnabled());
}

TEST_F(LicenceTabTest, EditorButtonsStoreTheFileTheEditorNames) {
  Widget<QCheckBox>("CheckBox4")->setChecked(true);
  Widget<QCheckBox>("CheckBox15")->setChecked(true);
  // A field naming a missing file: the editor starts without a file and Save asks for one.
  Widget<QLineEdit>("Edit7")->setText("missing.rtf");
  const std::string licence = dir.Path() + "licence.rtf";
  saveAnswers = {DiskToQ(licence)};
  bool edited = false;
  WhenModal([&](QWidget* window) {
    auto* editor = qobject_cast<app::TEditorForm*>(window);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->FileName().isEmpty());
    QTest::keyClicks(editor->findChild<QTextEdit*>("RichEdit1"), "Licence text");
    editor->findChild<QAction*>("SaveAct")->trigger();
    editor->close();
    edited = true;
  });
  Widget<QPushButton>("Button89")->click();
  ASSERT_TRUE(edited);
  ASSERT_EQ(saveProposals.size(), 1u);
  EXPECT_EQ(saveProposals[0], DiskToQ(DocumentsFolder() + "Project1.rtf"));
  EXPECT_EQ(Widget<QLineEdit>("Edit7")->text(), DiskToQ(licence));
  EXPECT_EQ(form->project().SelectedLicenseFile(), licence);
  EXPECT_TRUE(form->session().modified);

  // An existing readme.txt opens as plain text; closing unchanged leaves the field's full path.
  WriteFile(dir.Path() + "readme.txt", "Read me");
  Widget<QLineEdit>("Edit5")->setText(DiskToQ(dir.Path() + "readme.txt"));
  WhenModal([&](QWidget* window) {
    auto* editor = qobject_cast<app::TEditorForm*>(window);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->PlainTextMode());
    EXPECT_EQ(editor->findChild<QTextEdit*>("RichEdit1")->toPlainText(), "Read me");
    editor->close();
  });
  Widget<QPushButton>("Button90")->click();
  EXPECT_EQ(form->project().SelectedInfoFile(), dir.Path() + "readme.txt");
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace bvq::test
