// A build started from the main window: validation messages lead to their page, a small
// project becomes a setup read back with the independent reader, Cancel removes the partial
// setup. Needs the stubs in the build tree's Data folder.
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "app/compile_form.h"
#include "app_fixture.h"
#include "project/interface_text_ids.h"
#include "setup_build/build_cancel.h"
#include "project/interface_strings.h"
#include "setup_reader.h"
#include "util/code_page.h"
#include "util/files.h"
#include "util/program_values.h"

namespace bvq::test {
namespace {

namespace fs = std::filesystem;

QString Q(int index) { return QString::fromStdString(AnsiToUtf8(InterfaceString(index))); }

class BuildFromWindowTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    ResetBuildCancel();
  }
  void TearDown() override {
    ResetBuildCancel();
    AppFixture::TearDown();
  }

  bool HaveStubs() const { return FileExists(ProgramFolder() + "Data/Install.exe") && FileExists(ProgramFolder() + "Data/Uninstall.exe"); }

  // A project with two files, its setup in out/ beside it; loaded into the window.
  void LoadSmallProject(int compression, const std::string& bigFile = {}) {
    WriteFile(dir.Path() + "src/app.exe", NoiseBytes(40000));
    WriteFile(dir.Path() + "src/readme.txt", "Read me.\r\n");
    Project p = NewSampleProject();
    p.productName = "Tool";
    p.setupFile = dir.Path() + "out/Setup.exe";
    p.compression = compression;
    p.files.AppendCells({"src/app.exe", "%InstallPath%\\app.exe", InterfaceString(kTextIfExistsReplace), InterfaceString(kTextYes)});
    p.files.AppendCells({"src/readme.txt", "%InstallPath%\\readme.txt", InterfaceString(kTextIfExistsReplace), InterfaceString(kTextYes)});
    if (!bigFile.empty())
      p.files.AppendCells({bigFile, "%InstallPath%\\big.dat", InterfaceString(kTextIfExistsReplace), InterfaceString(kTextYes)});
    ASSERT_TRUE(form->LoadFile(SaveSample(p, "Tool.bvq")));
  }

  static bool WaitForEnd(app::TCompileForm* compile, int timeoutMs = 120000) {
    QSignalSpy finished(compile, &app::TCompileForm::buildFinished);
    return finished.count() > 0 || finished.wait(timeoutMs);
  }
  QStringList LogTexts(app::TCompileForm* compile) const {
    QStringList texts;
    for (int i = 0; i < compile->Log()->topLevelItemCount(); ++i) texts << compile->Log()->topLevelItem(i)->text(0);
    return texts;
  }
};

TEST_F(BuildFromWindowTest, ValidationFailureShowsItsPageAndMessage) {
  form->NewProjectAction();
  EXPECT_EQ(form->CompileAction(), nullptr);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, Q(222));
  EXPECT_EQ(messages[0].text, Q(227));
  EXPECT_EQ(form->CurrentPage(), 2);

  // An empty product name: Page1 and the field focused.
  messages.clear();
  Widget<QLineEdit>("LabeledEdit2")->setText("   ");
  form->project().files.AppendCells({"<none>", "%InstallPath%\\x", InterfaceString(kTextIfExistsReplace), InterfaceString(kTextYes)});
  form->ShowPage(3);
  EXPECT_EQ(form->CompileAction(), nullptr);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, Q(223));
  EXPECT_EQ(form->CurrentPage(), 1);
  EXPECT_EQ(Widget<QLineEdit>("LabeledEdit2")->text(), "");  // normalised
}

TEST_F(BuildFromWindowTest, MissingSourceIsAskedAboutAndNoStopsTheCheck) {
  LoadSmallProject(0);
  fs::remove(dir.Path() + "src/readme.txt");
  answers = {QMessageBox::No};
  EXPECT_EQ(form->CompileAction(), nullptr);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.contains("readme.txt"));
  EXPECT_EQ(form->CurrentPage(), 2);
}

TEST_F(BuildFromWindowTest, SmallProjectBuildsASetup) {
  if (!HaveStubs()) GTEST_SKIP() << "Data/Install.exe and Data/Uninstall.exe are not built";
  LoadSmallProject(0);
  app::TCompileForm* compile = form->CompileAction();
  ASSERT_NE(compile, nullptr);
  EXPECT_EQ(compile->findChild<QPushButton*>("Button1")->text(), Q(100));
  ASSERT_TRUE(WaitForEnd(compile));
  EXPECT_TRUE(compile->Result().built);
  EXPECT_TRUE(form->session().buildCurrent);
  EXPECT_EQ(compile->findChild<QPushButton*>("Button1")->text(), Q(74));
  EXPECT_FALSE(compile->findChild<QPushButton*>("Button3")->isHidden());
  const QStringList log = LogTexts(compile);
  ASSERT_FALSE(log.isEmpty());
  EXPECT_EQ(log.first(), Q(76));
  EXPECT_EQ(log.last(), Q(61));
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().text, Q(61));

  const std::string setup = dir.Path() + "out/Setup.exe";
  ReadSetup r = ReadSetupFiles(setup);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(ReadFile(setup).substr(0, 2), "MZ");
  auto records = StoredPayloadRecords(r.payload);
  ASSERT_EQ(records.size(), 3u);  // two files and the uninstaller
  EXPECT_EQ(records[0].bytes, ReadFile(dir.Path() + "src/app.exe"));
  EXPECT_EQ(records[1].bytes, "Read me.\r\n");
  EXPECT_EQ(records[2].bytes.substr(0, 2), "MZ");

  // Close ends the window; an edit makes the build stale again.
  QTest::mouseClick(compile->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  QApplication::processEvents();
  Widget<QLineEdit>("LabeledEdit29")->setText("2.0");
  EXPECT_FALSE(form->session().buildCurrent);
}

TEST_F(BuildFromWindowTest, CancelRemovesThePartialSetup) {
  if (!HaveStubs()) GTEST_SKIP() << "Data/Install.exe and Data/Uninstall.exe are not built";
  // Enough to compress that Cancel arrives while packing.
  WriteFile(dir.Path() + "src/big.dat", NoiseBytes(24 * 1024 * 1024));
  LoadSmallProject(2, "src/big.dat");
  app::TCompileForm* compile = form->CompileAction();
  ASSERT_NE(compile, nullptr);
  // Cancel once packing has started (string 81 is logged before the first cabinet file).
  QObject::connect(compile->Log()->model(), &QAbstractItemModel::rowsInserted, compile, [compile] {
    QTreeWidget* log = compile->Log();
    if (log->topLevelItem(log->topLevelItemCount() - 1)->text(0) == Q(81))
      compile->findChild<QPushButton*>("Button1")->click();
  });
  ASSERT_TRUE(WaitForEnd(compile, 300000));
  EXPECT_FALSE(compile->Result().built);
  EXPECT_FALSE(form->session().buildCurrent);
  EXPECT_EQ(LogTexts(compile).last(), Q(75));
  EXPECT_FALSE(fs::exists(dir.Path() + "out/Setup.exe"));
  EXPECT_EQ(compile->findChild<QPushButton*>("Button1")->text(), Q(74));
}

TEST_F(BuildFromWindowTest, MissingIconStopsBeforeWritingAndShowsTheIconTab) {
  LoadSmallProject(0);
  Widget<QLineEdit>("LabeledEdit11")->setText(QString::fromStdString(dir.Path() + "missing.ico"));
  app::TCompileForm* compile = form->CompileAction();
  ASSERT_NE(compile, nullptr);
  ASSERT_TRUE(WaitForEnd(compile));
  EXPECT_FALSE(compile->Result().built);
  ASSERT_TRUE(compile->Problem().has_value());
  EXPECT_EQ(compile->Problem()->message, 66);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().text, Q(66));
  EXPECT_EQ(messages.back().caption, Q(60));
  EXPECT_EQ(form->CurrentPage(), 5);
  EXPECT_EQ(Widget<QTabWidget>("PageControl1")->currentIndex(), 4);
  EXPECT_FALSE(fs::exists(dir.Path() + "out/Setup.exe"));
}

// Run builds first when the build is not current, then starts the setup; right after a
// build it starts the setup at once.
TEST_F(BuildFromWindowTest, RunBuildsWhenNeededThenStartsTheSetup) {
  if (!HaveStubs()) GTEST_SKIP() << "Data/Install.exe and Data/Uninstall.exe are not built";
  LoadSmallProject(0);
  std::vector<std::string> started;
  form->launchSetup = [&started](const std::string& setup) {
    started.push_back(setup);
    return true;
  };
  form->RunAction();
  auto* compile = form->findChild<app::TCompileForm*>();
  ASSERT_NE(compile, nullptr);
  ASSERT_TRUE(WaitForEnd(compile));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !started.empty(); }, 5000));
  EXPECT_EQ(started[0], dir.Path() + "out/Setup.exe");
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->findChild<app::TCompileForm*>() == nullptr; }, 5000));
  EXPECT_TRUE(messages.empty());  // no "built" box when the setup starts at once

  // Current build: no new build window.
  form->RunAction();
  EXPECT_EQ(form->findChild<app::TCompileForm*>(), nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return started.size() == 2; }, 5000));

  // A setup that cannot be started: string 103 and the path.
  form->launchSetup = [](const std::string&) { return false; };
  form->RunAction();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty() && messages.back().text.startsWith(Q(103)); }, 5000));
  EXPECT_TRUE(messages.back().text.endsWith("Setup.exe"));
}

}  // namespace
}  // namespace bvq::test
