// The setup reader on setups the build really writes: every storage form, split and unsplit,
// read back, checked and extracted to the original files; damaged copies reported with where
// the damage is; hostile destinations refused; and the same project built twice, at other
// times and in other work folders, giving the same bytes.
#include "setup_reader/setup_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <filesystem>
#include <thread>

#include "setup_build/build_cancel.h"
#include "setup_build/build_fixture.h"
#include "setup_build/run_build.h"
#include "setup_reader/setup_extract.h"
#include "setup_reader/setup_report.h"
#include "util/files.h"

namespace bvq {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

struct Form {
  int compression;  // 0 stored, 1 MSZIP, 2 LZX
  bool split;       // 20 Kb volumes
  const char* name;
};
const Form kForms[] = {{0, false, "none (stored)"}, {0, true, "none (stored)"}, {1, false, "MSZIP"},
                       {1, true, "MSZIP"},          {2, false, "LZX"},           {2, true, "LZX"}};

struct ReaderFixture : test::ToolSetupTest {
  void SetUp() override {
    ToolSetupTest::SetUp();
    MakeToolProject({test::NoiseBytes(70000), std::string(30000, 'r'), "You may use it.\r\n"});
    p.files.AppendCells({"src/app.exe", "%InstallPath%\\app.exe", "Replace", "Yes"});
    p.files.AppendCells({"src/readme.txt", "%InstallPath%\\doc\\readme.txt", "Ask", "Yes"});
    p.files.AppendCells({"src/data/empty.dat", "%AppData%\\Tool\\empty.dat", "Skip", "No"});
    p.volumeSize = 20;
    p.volumeSizeUnit = 1;
  }

  BuildResult Build(const Form& form) {
    p.compression = form.compression;
    p.splitting = form.split ? 4 : 0;
    BuildResult result = RunBuild(p, session, reporter);
    EXPECT_TRUE(result.built) << (reporter.lines.empty() ? "" : reporter.lines.back().text);
    return result;
  }
};

TEST_F(ReaderFixture, ReadsAndExtractsEveryStorageForm) {
  for (const Form& form : kForms) {
    SCOPED_TRACE(std::string(form.name) + (form.split ? " split" : ""));
    fs::remove_all(projectDir.Path() + "out");
    const BuildResult result = Build(form);
    SetupReader reader;
    const SetupContents& c = reader.Read(Out("Setup.exe"));
    ASSERT_EQ(c.verdict, SetupVerdict::Whole) << SetupProblemLines(c);
    EXPECT_EQ(c.compression, form.name);
    EXPECT_EQ(c.volumes.size(), static_cast<size_t>(result.volumeCount));
    if (form.split) EXPECT_GT(result.volumeCount, 2);
    EXPECT_EQ(c.Field(kFieldProduct), "Tool");
    ASSERT_EQ(c.files.size(), 4u);
    EXPECT_EQ(DestinationWithVariableNames(c.files[0].destination), "%InstallPath%\\app.exe");
    EXPECT_EQ(DestinationWithVariableNames(c.files[2].destination), "%AppData%\\Tool\\empty.dat");
    EXPECT_EQ(c.files[1].size, 30000u);
    EXPECT_EQ(c.files[2].mode, "4");
    ASSERT_EQ(c.sideFiles.size(), 2u);
    EXPECT_EQ(c.sideFiles[0].name, "$inst\\7.tmp");
    if (form.compression == 0) EXPECT_EQ(c.files[0].unixTime, *FileWriteTimeUnix(projectDir.Path() + "src/app.exe"));

    const std::string x = projectDir.Path() + "x/";
    fs::remove_all(x);
    const ExtractResult extracted = ExtractSetup(reader, x, false);
    EXPECT_TRUE(extracted.refusals.empty()) << extracted.refusals.front();
    EXPECT_EQ(extracted.written, 4u);
    EXPECT_EQ(ReadFile(x + "InstallPath/app.exe"), ReadFile(projectDir.Path() + "src/app.exe"));
    EXPECT_EQ(ReadFile(x + "InstallPath/doc/readme.txt"), std::string(30000, 'r'));
    EXPECT_TRUE(fs::is_regular_file(x + "AppData/Tool/empty.dat"));
    EXPECT_EQ(ReadFile(x + "InstallPath/Uninstall.exe").substr(0, 2), "MZ");
    std::string side;
    EXPECT_EQ(reader.ExtractSideFile(0, [&](const char* b, size_t n) { return side.append(b, n), true; }), "");
    EXPECT_EQ(side, ReadFile(program.Program() + "Data/Folder.png"));
  }
}

// Damage of each kind is found and named with where it is.
TEST_F(ReaderFixture, DamageIsReportedWithItsPlace) {
  struct Damage {
    const char* name;
    Form form;
    std::function<void(ReaderFixture&, const SetupContents&)> apply;
    SetupVerdict verdict;
    const char* where;  // start of the first problem's place
  };
  auto flip = [](const std::string& path, uint64_t at) {
    std::string bytes = ReadFile(path);
    bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
    WriteFile(path, bytes);
  };
  auto scriptValueAt = [](const SetupContents& c, int field) {
    uint64_t at = c.trailer.scriptStart;
    for (int i = 0; i < field; ++i) at += c.script[static_cast<size_t>(i)].size() + 1;
    return at;
  };
  const std::vector<Damage> cases = {
      {"truncated", kForms[2], [](ReaderFixture& f, const SetupContents&) {
         fs::resize_file(f.Out("Setup.exe"), fs::file_size(f.Out("Setup.exe")) - 1); },
       SetupVerdict::Damaged, "trailer"},
      {"script offset", kForms[0], [&](ReaderFixture& f, const SetupContents&) {
         flip(f.Out("Setup.exe"), fs::file_size(f.Out("Setup.exe")) - 36 + 17); },
       SetupVerdict::Damaged, "trailer"},
      {"file count", kForms[0], [&](ReaderFixture& f, const SetupContents& c) {
         flip(f.Out("Setup.exe"), scriptValueAt(c, kFieldFileCount)); },
       SetupVerdict::Damaged, "script"},
      {"cabinet data", kForms[4], [&](ReaderFixture& f, const SetupContents& c) {
         flip(f.Out("Setup.exe"), c.trailer.payloadStart + 20000); },
       SetupVerdict::Damaged, "payload file 0"},
      {"stored record", kForms[0], [&](ReaderFixture& f, const SetupContents& c) {
         flip(f.Out("Setup.exe"), c.trailer.payloadStart + 24 + 70000 + 5); },
       SetupVerdict::Damaged, "payload file"},
      {"data cabinet", kForms[2], [&](ReaderFixture& f, const SetupContents& c) {
         flip(f.Out("Setup.exe"), c.trailer.payloadStart - 10); },
       SetupVerdict::Damaged, "data block"},
      {"missing volume", kForms[3], [](ReaderFixture& f, const SetupContents&) { fs::remove(f.Out("disk3.pak")); },
       SetupVerdict::Damaged, "volume 3"},
      {"short volume", kForms[1], [](ReaderFixture& f, const SetupContents&) {
         fs::resize_file(f.Out("disk2.pak"), 100); },
       SetupVerdict::Damaged, ""},
      {"the stub alone", kForms[0], [](ReaderFixture& f, const SetupContents&) {
         fs::copy_file(test::StubPath("Install.exe"), f.Out("Setup.exe"), fs::copy_options::overwrite_existing); },
       SetupVerdict::NotOurs, ""},
      {"empty file", kForms[0], [](ReaderFixture& f, const SetupContents&) { WriteFile(f.Out("Setup.exe"), ""); },
       SetupVerdict::NotOurs, ""},
  };
  for (const Damage& d : cases) {
    SCOPED_TRACE(d.name);
    fs::remove_all(projectDir.Path() + "out");
    Build(d.form);
    {
      SetupReader whole;
      ASSERT_EQ(whole.Read(Out("Setup.exe")).verdict, SetupVerdict::Whole);
      d.apply(*this, whole.Contents());
    }
    SetupReader reader;
    const SetupContents& c = reader.Read(Out("Setup.exe"));
    EXPECT_EQ(c.verdict, d.verdict) << SetupProblemLines(c);
    ASSERT_FALSE(c.problems.empty());
    EXPECT_EQ(c.problems.front().where.rfind(d.where, 0), 0u) << SetupProblemLines(c);
    // One line per problem: where, then what.
    const std::string lines = SetupProblemLines(c);
    EXPECT_EQ(static_cast<size_t>(std::count(lines.begin(), lines.end(), '\n')), c.problems.size()) << lines;
  }
}

TEST(ExtractionPath, KeepsEveryFileInsideTheFolder) {
  struct Case {
    const char* destination;
    const char* path;  // "" when refused
  };
  const Case cases[] = {
      {"@$&%04\\bin\\notes.cmd", "InstallPath/bin/notes.cmd"},
      {"@$&%26\\Tool\\a.txt", "AppData/Tool/a.txt"},
      {"@$&%04\\\\doubled\\a.txt", "InstallPath/doubled/a.txt"},
      {"@$&%04\\COM10", "InstallPath/COM10"},
      {"@$&%04\\..\\..\\escape.txt", ""},
      {"..\\escape.txt", ""},
      {"@$&%04/a/../../b", ""},
      {"\\absolute.txt", ""},
      {"/etc/passwd", ""},
      {"C:\\Windows\\evil.dll", ""},
      {"@$&%04\\x:stream", ""},
      {"@$&%04\\CON", ""},
      {"@$&%04\\nul.txt", ""},
      {"@$&%04\\lpt1", ""},
      {"@$&%04\\...", ""},
      {"@$&%04\\a\x01" "b", ""},
      {"", ""},
      {"@$&%04\\", "InstallPath"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.destination);
    std::string why;
    EXPECT_EQ(ExtractionPath(c.destination, why), c.path);
    EXPECT_EQ(why.empty(), *c.path != '\0');
  }
}

TEST_F(ReaderFixture, ExtractFollowsNoLinksAndOverwritesOnlyWhenForced) {
  Build(kForms[0]);
  SetupReader reader;
  ASSERT_EQ(reader.Read(Out("Setup.exe")).verdict, SetupVerdict::Whole);
  const std::string x = projectDir.Path() + "x/", outside = projectDir.Path() + "outside/";
  fs::create_directories(x);
  fs::create_directories(outside);
  fs::create_directory_symlink(outside, x + "InstallPath");
  ExtractResult r = ExtractSetup(reader, x, true);
  EXPECT_EQ(r.refusals.size(), 3u);  // the three files below InstallPath
  EXPECT_TRUE(fs::is_empty(outside));
  EXPECT_EQ(r.written, 1u);

  fs::remove(x + "InstallPath");
  WriteFile(x + "InstallPath/app.exe", "mine");
  r = ExtractSetup(reader, x, false);
  ASSERT_EQ(r.refusals.size(), 2u);  // app.exe and empty.dat (written before) exist
  EXPECT_NE(r.refusals[0].find("exists"), std::string::npos) << r.refusals[0];
  EXPECT_EQ(ReadFile(x + "InstallPath/app.exe"), "mine");
  r = ExtractSetup(reader, x, true);
  EXPECT_TRUE(r.refusals.empty());
  EXPECT_EQ(ReadFile(x + "InstallPath/app.exe"), ReadFile(projectDir.Path() + "src/app.exe"));
  for (const auto& e : fs::recursive_directory_iterator(x))
    EXPECT_EQ(e.path().filename().string().find(".part"), std::string::npos) << e.path();
}

// Builds at different times, in different work folders and to different output folders give
// the same bytes in every volume.
TEST_F(ReaderFixture, RebuildingGivesIdenticalSetups) {
  std::vector<std::vector<std::string>> first;
  auto buildAll = [&](const std::string& tag) {
    std::vector<std::vector<std::string>> all;
    for (const Form& form : kForms) {
      SetWorkFolder(program.root.Path() + "work-" + tag + "-" + std::to_string(form.compression) + "/");
      fs::create_directories(WorkFolder());
      p.setupFile = "out-" + tag + "/Setup.exe";
      fs::remove_all(projectDir.Path() + "out-" + tag);
      const BuildResult result = Build(form);
      std::vector<std::string> bytes;
      for (int n = 0; n < result.volumeCount; ++n)
        bytes.push_back(ReadFile(projectDir.Path() + "out-" + tag + "/" +
                                 (n == 0 ? std::string("Setup.exe") : "disk" + std::to_string(n + 1) + ".pak")));
      all.push_back(bytes);
    }
    return all;
  };
  first = buildAll("a");
  std::this_thread::sleep_for(std::chrono::milliseconds(2100));
  const auto second = buildAll("b");
  for (size_t i = 0; i < std::size(kForms); ++i) {
    SCOPED_TRACE(std::string(kForms[i].name) + (kForms[i].split ? " split" : ""));
    ASSERT_EQ(first[i].size(), second[i].size());
    for (size_t v = 0; v < first[i].size(); ++v) EXPECT_TRUE(first[i][v] == second[i][v]) << "volume " << v;
  }
}

}  // namespace
}  // namespace bvq
