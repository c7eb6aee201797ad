// Whole builds in process: stored and compressed, split and unsplit, read back with the
// independent reader, cabextract and pefile; cancel and failures leave nothing behind.
#include "build/run_build.h"

#include <filesystem>

#include "build/build_cancel.h"
#include "build_fixture.h"
#include "setup_reader.h"

namespace bvq {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

struct BuildFixture : ::testing::Test {
  test::ProgramFolderFixture program;
  test::TempFolder projectDir;
  test::RecordingReporter reporter;
  Project p;
  ProjectSession session{p};

  void SetUp() override {
    ResetBuildCancel();
    const std::string d = projectDir.Path();
    WriteFile(d + "src/app.exe", test::NoiseBytes(150000));
    WriteFile(d + "src/readme.txt", "Read me first.\r\n");
    WriteFile(d + "src/data/empty.dat", "");
    WriteFile(d + "licence.txt", "You may {use} it.\r\nSecond line \xE9.");
    p.filePath = d + "Tool.bvq";  // relative paths resolve against its folder
    p.productName = "Tool";
    p.productVersion = "2.5";
    p.companyName = "Acme";
    p.setupFile = "out/Setup.exe";
    p.volumeFileName = "disk%i%.pak";
    p.uninstallerFile = "%InstallPath%\\Uninstall.exe";
    p.installerIcon = program.Program() + "Icons/setup.ico";
    p.uninstallerIcon = program.Program() + "Icons/uninstall.ico";
    p.installFolderPath = "%ProgramFiles%\\%CompanyName%\\%ProductName%";
    p.showHeaderPicture = p.showLogo = false;
    p.showInstallFolderPage = true;  // install folder page: Data/Folder.png
    p.showLicense = true;   // licence page
    p.makeUninstaller = true;  // an uninstaller
    p.SetInstallLanguages({"English"});
    p.SetLanguageChecked(0, true);
    p.licenseFiles = {"licence.txt", ""};
    for (auto& s : p.supportedSystems) s.Checked = true;
    p.files.AppendCells({"src/app.exe", "%InstallPath%\\app.exe", "Replace", "Yes"});
    p.files.AppendCells({"src\\readme.txt", "%InstallPath%\\readme.txt", "Ask", "Yes"});
    p.files.AppendCells({"src/data/empty.dat", "%InstallPath%\\data\\empty.dat", "Skip", "No"});
    p.shortcuts.AppendCells({"Desktop", "Tool", "%InstallPath%\\app.exe", "", "", "", ""});
  }
  void TearDown() override { ResetBuildCancel(); }

  std::string Out(const std::string& name) const { return projectDir.Path() + "out/" + name; }
  bool WorkFolderEmpty() const {
    return !fs::exists(program.Work()) || fs::is_empty(program.Work()) ||
           (fs::is_directory(program.Work() + "Pack") && fs::is_empty(program.Work() + "Pack") &&
            std::distance(fs::directory_iterator(program.Work()), fs::directory_iterator()) == 1);
  }
};

TEST_F(BuildFixture, StoredSingleFile) {
  p.compression = 0;
  BuildResult result = RunBuild(p, session, reporter);
  ASSERT_TRUE(result.built) << (reporter.lines.empty() ? "" : reporter.lines.back().text);
  EXPECT_EQ(result.volumeCount, 1);
  EXPECT_TRUE(session.buildCurrent);
  EXPECT_EQ(result.setupPath, Out("Setup.exe"));
  EXPECT_EQ(fs::file_size(Out("Setup.exe")), result.totalSize);
  EXPECT_EQ(reporter.lines.back().text, "S61");

  test::ReadSetup r = test::ReadSetupFiles(Out("Setup.exe"));
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.storage, 0);
  EXPECT_EQ(r.s0 + r.s1 - r.s0 + r.dataSize + r.payload.size() + 36, fs::file_size(Out("Setup.exe")));
  EXPECT_EQ(r.script[67], "4");
  EXPECT_EQ(r.script[56], "1");
  // Data block: the folder picture and the licence texts (shared only; no language file).
  auto side = test::StoredSideFiles(r.dataBlock);
  ASSERT_EQ(side.size(), 2u);
  EXPECT_EQ(r.sideFiles, 2);
  EXPECT_EQ(side[0].first, "$inst\\7.tmp");
  EXPECT_EQ(side[0].second, ReadFile(program.Program() + "Data/Folder.png"));
  EXPECT_EQ(side[1].first, "$inst\\15.tmp");
  EXPECT_EQ(side[1].second.rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(side[1].second.find("You may \\{use\\} it.\\par"), std::string::npos);
  EXPECT_NE(side[1].second.find("\\'e9"), std::string::npos);
  // Payload: the three files in order, then the prepared uninstaller.
  auto records = test::StoredPayloadRecords(r.payload);
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].bytes, ReadFile(projectDir.Path() + "src/app.exe"));
  EXPECT_EQ(records[1].bytes, "Read me first.\r\n");
  EXPECT_EQ(records[2].size, 0u);
  for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(records[i].number, i);
  // Section G: destinations and modes, the uninstaller last with "2" and "1".
  const size_t g = 121 + 8;  // after one shortcut
  EXPECT_EQ(r.script[g + 0], "@$&%04\\app.exe");
  EXPECT_EQ(r.script[g + 4], "0");  // Ask
  EXPECT_EQ(r.script[g + 7], "4");  // Skip
  EXPECT_EQ(r.script[g + 8], "0");
  EXPECT_EQ(r.script[g + 9], "@$&%04\\Uninstall.exe");
  EXPECT_EQ(r.script[g + 10], "2");
  EXPECT_EQ(r.script[g + 11], "1");

  // The setup and the prepared uninstaller carry the project's icons and texts.
  const std::string uninstaller = projectDir.Path() + "uninst.exe";
  WriteFile(uninstaller, records[3].bytes);
  auto u = test::PeFacts(uninstaller);
  ASSERT_EQ(u.count("error"), 0u) << u["error"];
  EXPECT_EQ(u["MainIconCount"], "1");
  EXPECT_EQ(u["MainIconBytes"], std::to_string(test::TinyIcon(200).size() - 22));
  EXPECT_EQ(u["CheckSum"], u["ComputedCheckSum"]);
  auto s = test::PeFacts(Out("Setup.exe"));
  ASSERT_EQ(s.count("error"), 0u) << s["error"];
  EXPECT_EQ(s["MainIconCount"], "1");
  EXPECT_EQ(s["FileVersionMS"], std::to_string(0x00020005));
  EXPECT_EQ(s["FileDescription"].substr(0, 21), "Tool 2.5 Installation");
  EXPECT_EQ(s["CompanyName"].substr(0, 5), "Acme ");
  EXPECT_TRUE(WorkFolderEmpty());
}

// Compressed builds, split into small volumes and unsplit: the payload cabinets pass
// cabextract's test and extract to the original files.
TEST_F(BuildFixture, CompressedBuildsExtractWithCabextract) {
  struct Case { int compression; int split; };
  for (Case c : {Case{1, 0}, Case{2, 0}, Case{1, 4}, Case{2, 4}}) {
    SCOPED_TRACE(std::to_string(c.compression) + "/" + std::to_string(c.split));
    fs::remove_all(projectDir.Path() + "out");
    p.compression = c.compression;
    p.splitting = c.split;
    p.volumeSize = 20;
    p.volumeSizeUnit = 1;  // 20 Kb volumes
    BuildResult result = RunBuild(p, session, reporter);
    ASSERT_TRUE(result.built) << reporter.lines.back().text;
    std::vector<std::string> more;
    for (int n = 1; n < result.volumeCount; ++n) {
      more.push_back(Out("disk" + std::to_string(n + 1) + ".pak"));
      if (n + 1 < result.volumeCount) EXPECT_EQ(fs::file_size(more.back()), 20480u);
    }
    if (c.split) {
      EXPECT_GT(result.volumeCount, 2);
      EXPECT_EQ(fs::file_size(Out("Setup.exe")), std::max<uint64_t>(20480, fs::file_size(Out("Setup.exe"))));
      EXPECT_FALSE(fs::exists(Out("disk" + std::to_string(result.volumeCount + 1) + ".pak")));
    }
    test::ReadSetup r = test::ReadSetupFiles(Out("Setup.exe"), more);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.storage, 1);
    EXPECT_EQ(r.script[34], c.split ? "0" : "1");

    test::TempFolder cabs;
    auto cabinets = test::RebuildPayloadCabinets(r, cabs.Path());
    std::string out;
    ASSERT_EQ(test::Run("cabextract -t '" + cabinets[0] + "'", &out), 0) << out;
    ASSERT_EQ(test::Run("cabextract -q -d '" + cabs.Path() + "x' '" + cabinets[0] + "'", &out), 0) << out;
    EXPECT_EQ(ReadFile(cabs.Path() + "x/0"), ReadFile(projectDir.Path() + "src/app.exe"));
    EXPECT_EQ(ReadFile(cabs.Path() + "x/1"), "Read me first.\r\n");
    EXPECT_TRUE(fs::exists(cabs.Path() + "x/2"));
    EXPECT_EQ(ReadFile(cabs.Path() + "x/3").substr(0, 2), "MZ");

    // The data block is one cabinet holding the side files under their names.
    test::WriteFile(cabs.Path() + "data.cab", "MSCF" + r.dataBlock);
    ASSERT_EQ(test::Run("cabextract -l '" + cabs.Path() + "data.cab'", &out), 0) << out;
    // (cabextract shows the backslash of the names as "/")
    EXPECT_NE(out.find("$inst/7.tmp"), std::string::npos) << out;
    EXPECT_NE(out.find("$inst/15.tmp"), std::string::npos) << out;
    EXPECT_EQ(r.sideFiles, 2);
    EXPECT_TRUE(WorkFolderEmpty());
  }
}

TEST_F(BuildFixture, CancelDuringPackingLeavesNoSetup) {
  p.compression = 2;
  WriteFile(Out("Setup.exe"), "an old setup");  // the build replaces it, then removes it on cancel
  reporter.onLastLine = [](const std::string& text) {
    if (text.rfind("S101", 0) == 0) RequestBuildCancel();
  };
  BuildResult result = RunBuild(p, session, reporter);
  EXPECT_FALSE(result.built);
  EXPECT_FALSE(fs::exists(Out("Setup.exe")));
  EXPECT_TRUE(WorkFolderEmpty());
  EXPECT_EQ(reporter.lines.back().text, "S75");
  EXPECT_EQ(reporter.lines.back().icon, LogIcon::Warning);
  EXPECT_EQ(reporter.sizeText, "0,00 Kb");
  EXPECT_FALSE(session.buildCurrent);
}

TEST_F(BuildFixture, SourceDeletedAfterValidationIsSkippedWithAWarning) {
  p.compression = 0;
  fs::remove(projectDir.Path() + "src/readme.txt");
  BuildResult result = RunBuild(p, session, reporter);
  ASSERT_TRUE(result.built);
  int warnings = 0;
  for (const auto& l : reporter.lines)
    if (l.icon == LogIcon::Warning) {
      ++warnings;
      EXPECT_EQ(l.text, "S112src\\readme.txt");
    }
  EXPECT_EQ(warnings, 1);
  test::ReadSetup r = test::ReadSetupFiles(Out("Setup.exe"));
  EXPECT_EQ(r.script[67], "3");
  EXPECT_EQ(test::StoredPayloadRecords(r.payload).size(), 3u);
}

// A failure in the middle of writing (a source that can no longer be read) ends the build
// with an error line and removes the partial setup, its further volumes and the work files.
TEST_F(BuildFixture, ReadFailureRemovesPartialOutput) {
  p.compression = 0;
  p.splitting = 4;
  p.volumeSize = 40;
  p.volumeSizeUnit = 1;
  reporter.onLine = [&](const LogLine& line) {
    if (line.text == "S90") fs::remove(projectDir.Path() + "src/data/empty.dat");
  };
  BuildResult result = RunBuild(p, session, reporter);
  EXPECT_FALSE(result.built);
  EXPECT_FALSE(fs::exists(Out("Setup.exe")));
  EXPECT_FALSE(fs::exists(Out("disk2.pak")));
  EXPECT_FALSE(fs::exists(Out("disk3.pak")));
  EXPECT_TRUE(WorkFolderEmpty());
  ASSERT_GE(reporter.lines.size(), 2u);
  EXPECT_NE(reporter.lines[reporter.lines.size() - 2].text.find("empty.dat"), std::string::npos);
  EXPECT_EQ(reporter.lines.back().text, "S60");
  EXPECT_EQ(reporter.lines.back().icon, LogIcon::Error);
}

TEST_F(BuildFixture, UnwritableOutputStopsWithoutTouchingTheBlocker) {
  p.compression = 0;
  WriteFile(projectDir.Path() + "blocker", "a file where a folder should be");
  p.setupFile = "blocker/Setup.exe";
  BuildResult result = RunBuild(p, session, reporter);
  EXPECT_FALSE(result.built);
  EXPECT_EQ(ReadFile(projectDir.Path() + "blocker"), "a file where a folder should be");
  EXPECT_EQ(reporter.lines.back().text, "S75");
  EXPECT_TRUE(WorkFolderEmpty());
}

TEST_F(BuildFixture, FailedChecksWriteNothing) {
  struct Case { const char* what; std::function<void(Project&)> set; std::string message; };
  const std::vector<Case> cases = {
      {"missing installer icon", [](Project& q) { q.installerIcon = "nope.ico"; }, "S66"},
      {"missing uninstaller icon", [](Project& q) { q.uninstallerIcon = "nope.ico"; }, "S68"},
      {"missing header picture", [](Project& q) { q.showHeaderPicture = true; q.headerPicture = "nope.bmp"; }, "S71"},
      {"missing logo", [](Project& q) { q.showLogo = true; q.logoPicture = "nope.bmp"; }, "S72"},
      {"missing background", [](Project& q) { q.showBackground = true; q.backgroundIsGradient = false; q.backgroundPicture = "n.jpg"; }, "S73"},
      {"volume pattern without number", [](Project& q) { q.splitting = 1; q.volumeFileName = "disk.pak"; }, "S92"},
  };
  WriteFile(Out("Setup.exe"), "previous setup");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Project q = p;
    c.set(q);
    reporter.lines.clear();
    EXPECT_FALSE(RunBuild(q, session, reporter).built);
    ASSERT_GE(reporter.lines.size(), 2u);
    EXPECT_EQ(reporter.lines[reporter.lines.size() - 2].text, "S60");
    EXPECT_EQ(reporter.lines.back().text, c.message);
    EXPECT_EQ(ReadFile(Out("Setup.exe")), "previous setup");
  }
  // A silent installation does not need its pictures; %I% is found in any letter case.
  p.silentInstall = true;
  p.showHeaderPicture = true;
  p.headerPicture = "nope.bmp";
  p.splitting = 1;
  p.volumeFileName = "part%I%.bin";
  p.compression = 0;
  EXPECT_TRUE(RunBuild(p, session, reporter).built);
  test::ReadSetup r = test::ReadSetupFiles(Out("Setup.exe"));
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.sideFiles, 1);  // only the licence: pictures are not wanted when silent
}

// Cabinet form without side files and without payload files: the data block and the payload
// are empty (or valid empty cabinets), and the script says there are no files.
TEST_F(BuildFixture, CompressedBuildWithoutSideFilesOrPayload) {
  p.compression = 1;
  p.silentInstall = true;  // silent: no pictures
  p.showLicense = false;  // no licence
  p.makeUninstaller = false;
  fs::remove_all(projectDir.Path() + "src");  // every source vanished after validation
  BuildResult result = RunBuild(p, session, reporter);
  ASSERT_TRUE(result.built) << reporter.lines.back().text;
  test::ReadSetup r = test::ReadSetupFiles(Out("Setup.exe"));
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.sideFiles, 0);
  EXPECT_EQ(r.script[67], "0");
  EXPECT_EQ(r.script[117], "0");
  EXPECT_EQ(r.script[118], "0");
  EXPECT_TRUE(r.payload.empty());
  if (!r.dataBlock.empty()) {
    test::WriteFile(projectDir.Path() + "data.cab", "MSCF" + r.dataBlock);
    std::string out;
    EXPECT_EQ(test::Run("cabextract -t '" + projectDir.Path() + "data.cab'", &out), 0) << out;
  }
  EXPECT_TRUE(WorkFolderEmpty());
}

}  // namespace
}  // namespace bvq
