// The information and options windows.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <cstdlib>
#include <filesystem>

#include "app/info_form.h"
#include "app/project_info.h"
#include "app/settings_form.h"
#include "app_fixture.h"
#include "platform/program_settings.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "util/code_page.h"
#include "util/program_values.h"
#include "util/strings.h"

namespace bvq::test {
namespace {

TEST(ProjectInfo, CountsAreGroupedByThousands) {
  const struct { int64_t n; const char* text; } cases[] = {
      {0, "0"}, {7, "7"}, {999, "999"}, {1000, "1 000"}, {1234567, "1 234 567"}};
  for (const auto& c : cases) EXPECT_EQ(app::GroupedCount(c.n), c.text) << c.n;
}

class SecondaryWindowsTest : public AppFixture {};

TEST_F(SecondaryWindowsTest, InformationSumsTheSourceFiles) {
  WriteFile(dir.Path() + "a.bin", std::string(1000, 'a'));
  WriteFile(dir.Path() + "b.bin", std::string(536, 'b'));
  Project& p = form->project();
  p.files.AppendCells({dir.Path() + "a.bin", "%InstallPath%\\a.bin", InterfaceString(kTextIfExistsReplace), InterfaceString(kTextYes)});
  p.files.AppendCells({dir.Path() + "b.bin", "%InstallPath%\\b.bin", InterfaceString(kTextIfExistsReplace), InterfaceString(kTextYes)});
  p.files.AppendCells({InterfaceString(kTextEmptyFolder), "%InstallPath%\\empty", InterfaceString(kTextIfExistsReplace), InterfaceString(kTextYes)});
  p.files.AppendCells({dir.Path() + "gone.bin", "%InstallPath%\\gone", InterfaceString(kTextIfExistsReplace), InterfaceString(kTextYes)});

  app::TInfoForm info(p, form->session(), form.get());
  QSignalSpy filled(&info, &app::TInfoForm::filled);
  ASSERT_TRUE(filled.wait(10000));
  EXPECT_TRUE(info.windowTitle().endsWith("Project1"));
  EXPECT_EQ(info.Text("Label4"), "4");
  EXPECT_EQ(info.Text("Label5").toStdString(), SizeText(1536));
  EXPECT_EQ(info.Text("Label6").toStdString(), SizeText(0));
  EXPECT_EQ(info.Text("Label8"), "0");
}

TEST_F(SecondaryWindowsTest, InformationWindowIsAtLeastAsWideAsItsTitle) {
  // A short name leaves the window at its content width; a long one must widen it.
  for (const std::string& name : {std::string("a.bvq"), std::string(120, 'n') + ".bvq"}) {
    Project& p = form->project();
    p.filePath = dir.Path() + name;
    app::TInfoForm info(p, form->session(), form.get());
    QSignalSpy filled(&info, &app::TInfoForm::filled);
    info.show();
    ASSERT_TRUE(filled.wait(10000));
    EXPECT_TRUE(info.windowTitle().endsWith(QString::fromStdString(name)));
    EXPECT_LE(info.fontMetrics().horizontalAdvance(info.windowTitle()), info.width()) << name.size();
  }
}

TEST_F(SecondaryWindowsTest, OptionsKeepAMissingFolderOutAndStoreAGoodOne) {
  const std::string before = WorkFolder();
  app::TSettingsForm options(settingsPath, form.get());
  auto* folder = options.findChild<QLineEdit*>("Edit1");
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->text().toStdString(), before);

  folder->setText(QString::fromStdString(dir.Path() + "no/such/folder"));
  options.Confirm();
  EXPECT_NE(options.result(), QDialog::Accepted);
  EXPECT_EQ(WorkFolder(), before);

  const std::string work = dir.Path() + "work";
  std::filesystem::create_directories(work);
  folder->setText(QString::fromStdString(work));
  options.findChild<QCheckBox*>("CheckBox1")->setChecked(true);
  options.Confirm();
  EXPECT_EQ(options.result(), QDialog::Accepted);
  EXPECT_EQ(WorkFolder(), work + "/");
  SettingsStore store = SettingsStore::Open(settingsPath);
  EXPECT_EQ(store.GetString(SettingsStore::kMainSection, "TempDir").value_or(""), work + "/");
  EXPECT_TRUE(store.GetBool(SettingsStore::kMainSection, "OpenLastProject").value_or(false));
  SetWorkFolder(before);
}

TEST_F(SecondaryWindowsTest, OptionsShowAndStoreTheSignCommand) {
  SetSignCommand("sign-tool {file}");
  app::TSettingsForm options(settingsPath, form.get());
  auto* command = options.findChild<QLineEdit*>("Edit2");
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->text().toStdString(), "sign-tool {file}");
  // BVQ_SCREENSHOT_DIR=folder keeps a picture of the window for looking at.
  if (const char* shots = std::getenv("BVQ_SCREENSHOT_DIR")) {
    options.show();
    options.grab().save(QString::fromStdString(std::string(shots) + "/options-sign-command.png"));
  }
  const std::string signTool = "osslsigncode sign -pkcs12 'my cert.p12' -in {file} -out {file}.s && mv {file}.s {file}";
  command->setText(QString::fromStdString(signTool));
  options.Confirm();
  EXPECT_EQ(options.result(), QDialog::Accepted);
  EXPECT_EQ(SignCommand(), signTool);
  EXPECT_EQ(SettingsStore::Open(settingsPath).GetString(SettingsStore::kMainSection, "SignCommand").value_or(""), signTool);
  EXPECT_EQ(ReadProgramSettings(SettingsStore::Open(settingsPath)).signCommand, signTool);  // read at start
  SetSignCommand("");
}

}  // namespace
}  // namespace bvq::test
