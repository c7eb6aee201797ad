// Whole builds in process: stored and compressed, split and unsplit, read back with the
// independent reader, cabextract and pefile; cancel and failures leave nothing behind.
#include "setup_build/run_build.h"

#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "setup_build/build_cancel.h"
#include "build_fixture.h"
#include "setup_reader.h"

namespace bvq {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

struct BuildFixture : test::ToolSetupTest {
  void SetUp() override {
    ToolSetupTest::SetUp();
    MakeToolProject({test::NoiseBytes(150000), "Read me first.\r\n", "You may {use} it.\r\nSecond line \xE9."});
    p.installFolderPath = "%ProgramFiles%\\%CompanyName%\\%ProductName%";
    for (auto& s : p.supportedSystems) s.Checked = true;
    p.files.AppendCells({"src/app.exe", "%InstallPath%\\app.exe", "Replace", "Yes"});
    p.files.AppendCells({"src\\readme.txt", "%InstallPath%\\readme.txt", "Ask", "Yes"});
    p.files.AppendCells({"src/data/empty.dat", "%InstallPath%\\data\\empty.dat", "Skip", "No"});
    p.shortcuts.AppendCells({"Desktop", "Tool", "%InstallPath%\\app.exe", "", "", "", ""});
  }

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
    const std::vector<std::string> volumes = Volumes(result);
    const std::vector<std::string> more(volumes.begin() + 1, volumes.end());
    for (std::size_t n = 0; n + 1 < more.size(); ++n) EXPECT_EQ(fs::file_size(more[n]), 20480u);
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
  WriteFile(Out("Setup.exe"), "an old setup");  // replaced only by a complete setup
  reporter.onLastLine = [](const std::string& text) {
    if (text.rfind("S101", 0) == 0) RequestBuildCancel();
  };
  BuildResult result = RunBuild(p, session, reporter);
  EXPECT_FALSE(result.built);
  EXPECT_EQ(ReadFile(Out("Setup.exe")), "an old setup");
  EXPECT_EQ(std::distance(fs::directory_iterator(Out("")), fs::directory_iterator()), 1);
  EXPECT_TRUE(WorkFolderEmpty());
  EXPECT_EQ(reporter.lines.back().text, "S75");
  EXPECT_EQ(reporter.lines.back().icon, LogIcon::Warning);
  EXPECT_EQ(reporter.sizeText, "0,00 Kb");
  EXPECT_FALSE(session.buildCurrent);
}

// Every file below `folder` (links as their target's name) with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    if (e.is_symlink()) files[e.path().string()] = "-> " + fs::read_symlink(e.path()).string();
    else if (e.is_regular_file()) files[e.path().string()] = ReadFile(e.path().string());
    else files[e.path().string()] = "(folder)";
  }
  return files;
}

// A setup or volume path that names an input of the build, however it is spelt, or a folder,
// is refused before anything is written: every file stays as it was.
TEST_F(BuildFixture, OutputPathsThatNameInputsAreRefused) {
  const std::string d = projectDir.Path();
  WriteFile(p.filePath, "the project file");
  fs::create_directories(d + "out");
  fs::create_hard_link(d + "src/app.exe", d + "out/hard.exe");
  fs::create_symlink(d + "src/readme.txt", d + "out/link.exe");
  // A licence whose name on disk is the stored code-page byte, not its UTF-8 form.
  WriteFile(d + "raw\xE9.txt", "licence by its stored bytes");
  fs::create_hard_link(d + "raw\xE9.txt", d + "out/raw.exe");
  struct Case {
    const char* what;
    std::string setup;
    int compression;
    bool split;
    std::string licence = "licence.txt";
  };
  const std::vector<Case> cases = {
      {"a source, stored", "src/readme.txt", 0, false},
      {"a source, compressed", "src/readme.txt", 2, false},
      {"a source through \"..\" and \"\\\"", "out\\..\\src\\app.exe", 1, false},
      {"a hard link to a source", "out/hard.exe", 0, false},
      {"a symbolic link to a source", "out/link.exe", 2, false},
      {"the project file", "Tool.bvq", 2, false},
      {"the licence text", "licence.txt", 0, false},
      {"the installer icon", program.Program() + "Icons/setup.ico", 0, false},
      {"the installer stub", program.Program() + "Data/Install.exe", 2, false},
      {"a language file of the program", program.Program() + "Language/Install/English.lng", 0, false},
      {"a folder", "src", 0, false},
      {"a volume that is a source", "out/Setup.exe", 0, true},
      {"a licence found by its stored bytes", "out/raw.exe", 0, false, "raw\xE9.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Project q = p;
    q.setupFile = c.setup;
    q.compression = c.compression;
    q.licenseFiles = {c.licence, ""};
    if (c.split) {  // 40 KiB volumes; the second volume's name is the hard link to a source
      q.splitting = 4;
      q.volumeSize = 40;
      q.volumeSizeUnit = 1;
      q.volumeFileName = "hard%i%.exe";
      fs::create_hard_link(d + "src/app.exe", d + "out/hard2.exe");
    }
    const auto before = Snapshot(d);
    const auto programBefore = Snapshot(program.Program());
    reporter.lines.clear();
    EXPECT_FALSE(RunBuild(q, session, reporter).built);
    EXPECT_EQ(Snapshot(d), before);
    EXPECT_EQ(Snapshot(program.Program()), programBefore);
    EXPECT_TRUE(WorkFolderEmpty());
    ASSERT_GE(reporter.lines.size(), 2u);
    EXPECT_NE(reporter.lines[reporter.lines.size() - 2].text.find("nothing was written"), std::string::npos)
        << reporter.lines[reporter.lines.size() - 2].text;
    EXPECT_EQ(reporter.lines.back().icon, LogIcon::Error);
    if (c.split) fs::remove(d + "out/hard2.exe");
  }
}

// Volumes of a few bytes would give a hundred thousand files: refused, nothing written.
TEST_F(BuildFixture, MoreThanTenThousandVolumesAreRefused) {
  WriteFile(Out("Setup.exe"), "previous setup");
  for (int compression : {0, 2}) {
    SCOPED_TRACE(compression);
    p.compression = compression;
    p.splitting = 4;
    p.volumeSize = 1;
    p.volumeSizeUnit = 0;  // bytes
    reporter.lines.clear();
    EXPECT_FALSE(RunBuild(p, session, reporter).built);
    EXPECT_EQ(ReadFile(Out("Setup.exe")), "previous setup");
    EXPECT_EQ(std::distance(fs::directory_iterator(Out("")), fs::directory_iterator()), 1);
    EXPECT_TRUE(WorkFolderEmpty());
    bool said = false;
    for (const auto& l : reporter.lines) said |= l.text.find("more than 10000 volumes") != std::string::npos;
    EXPECT_TRUE(said);
  }
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

// The same failure over the setup and volumes of an earlier build: every one of them, the
// further volumes too, stays byte for byte, and no temporary file is left beside them.
TEST_F(BuildFixture, ReadFailureKeepsTheVolumesOfAnEarlierBuild) {
  p.compression = 0;
  p.splitting = 4;
  p.volumeSize = 40;
  p.volumeSizeUnit = 1;
  const BuildResult earlier = RunBuild(p, session, reporter);
  ASSERT_TRUE(earlier.built);
  ASSERT_GE(earlier.volumeCount, 3);
  std::map<std::string, std::string> before;
  for (const auto& entry : fs::directory_iterator(Out(""))) before[entry.path().string()] = ReadFile(entry.path().string());
  ASSERT_EQ(before.size(), static_cast<std::size_t>(earlier.volumeCount));

  WriteFile(projectDir.Path() + "src/readme.txt", "A different text, so the new volumes differ.\r\n");
  reporter.onLine = [&](const LogLine& line) {
    if (line.text == "S90") fs::remove(projectDir.Path() + "src/data/empty.dat");
  };
  EXPECT_FALSE(RunBuild(p, session, reporter).built);
  std::map<std::string, std::string> after;
  for (const auto& entry : fs::directory_iterator(Out(""))) after[entry.path().string()] = ReadFile(entry.path().string());
  EXPECT_EQ(after, before);
  EXPECT_TRUE(WorkFolderEmpty());
}

// A source replaced by a FIFO after the checks: reading it must not wait for a writer; the
// build ends with an error line naming the file and leaves nothing behind.
TEST_F(BuildFixture, SourceSwappedForAFifoEndsTheBuild) {
  const std::string source = projectDir.Path() + "src/readme.txt";
  for (int compression : {0, 2}) {
    SCOPED_TRACE(compression);
    WriteFile(source, "Read me first.\r\n");
    p.compression = compression;
    reporter.lines.clear();
    reporter.onLine = [&](const LogLine& line) {
      if (line.text != "S173") return;
      fs::remove(source);
      ASSERT_EQ(mkfifo(source.c_str(), 0600), 0);
    };
    EXPECT_FALSE(RunBuild(p, session, reporter).built);
    reporter.onLine = nullptr;
    fs::remove(source);
    EXPECT_FALSE(fs::exists(Out("Setup.exe")));
    EXPECT_TRUE(WorkFolderEmpty());
    bool named = false;
    for (const auto& l : reporter.lines) {
      if (l.icon != LogIcon::Error) continue;
      named |= l.text.find("readme.txt") != std::string::npos;
      EXPECT_EQ(l.text.find_first_of("\r\n"), std::string::npos) << l.text;  // one line each
    }
    EXPECT_TRUE(named);
  }
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
