#include "project/dropped_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "project/project_paths.h"
#include "project_test_support.h"
#include "util/paths.h"

namespace bvq {
namespace {

// A drop area: Data/ holds a.txt, an empty folder Empty and sub/deep/c.txt; beside it a file
// one.txt and an empty folder Blank.
class DroppedFilesTest : public test::ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    project_.files.clear();
    project_.makeUninstaller = true;
    root_ = folder_.Path() + "drop/";
    folder_.Write("drop/Data/a.txt", "a");
    folder_.Write("drop/Data/sub/deep/c.txt", "c");
    folder_.Write("drop/one.txt", "1");
    std::filesystem::create_directories(root_ + "Data/Empty");
    std::filesystem::create_directories(root_ + "Blank");
  }
  std::string At(const std::string& relative) const { return root_ + relative; }

  std::string root_;
  FileHandOver handOver_;
};

TEST_F(DroppedFilesTest, OnePathOpensTheFileEntryDialogWithPresets) {
  struct Case {
    std::string path;
    std::string source;
    std::string target;
  };
  const Case cases[] = {
      {At("one.txt"), At("one.txt"), "%InstallPath%\\one.txt"},
      {At("Blank"), "", "%InstallPath%\\Blank"},
      {At("Blank/"), "", "%InstallPath%\\Blank"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    handOver_.PresetSource = "stale";
    EXPECT_EQ(HandleDroppedFiles({c.path}, handOver_).Next, DropDecision::OpenFileEntry);
    EXPECT_EQ(handOver_.PresetSource, c.source);
    EXPECT_EQ(handOver_.PresetTarget, c.target);
    EXPECT_TRUE(handOver_.ImportSources.empty());
  }
}

TEST_F(DroppedFilesTest, FoldersWithContentsAndSeveralPathsAreImported) {
  struct Case {
    std::vector<std::string> paths;
    TStrList sources;
    TStrList targets;
  };
  const Case cases[] = {
      {{At("Data")},
       {At("Data/a.txt"), "(folder)", At("Data/sub/deep/c.txt")},
       {"Data\\a.txt", "Data\\Empty", "Data\\sub\\deep\\c.txt"}},
      {{At("Data/")},
       {At("Data/a.txt"), "(folder)", At("Data/sub/deep/c.txt")},
       {"Data\\a.txt", "Data\\Empty", "Data\\sub\\deep\\c.txt"}},
      {{At("Data/sub")}, {At("Data/sub/deep/c.txt")}, {"sub\\deep\\c.txt"}},
      {{At("one.txt"), At("Blank")}, {At("one.txt"), "(folder)"}, {"one.txt", "Blank"}},
      {{At("Blank"), At("Data/sub"), At("one.txt")},
       {"(folder)", At("Data/sub/deep/c.txt"), At("one.txt")},
       {"Blank", "sub\\deep\\c.txt", "one.txt"}},
      // A path that vanished before the drop was handled is passed over.
      {{At("gone.txt"), At("one.txt")}, {At("one.txt")}, {"one.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.paths.front());
    handOver_.ImportSources = {"earlier"};
    handOver_.ImportTargets = {"earlier"};
    EXPECT_EQ(HandleDroppedFiles(c.paths, handOver_).Next, DropDecision::OpenFolderImport);
    EXPECT_EQ(handOver_.ImportSources, c.sources);
    EXPECT_EQ(handOver_.ImportTargets, c.targets);
    EXPECT_EQ(handOver_.PresetSource, "");
    EXPECT_EQ(handOver_.PresetTarget, "");
  }
}

TEST_F(DroppedFilesTest, NothingUsableChangesNothing) {
  mkfifo((root_ + "pipe").c_str(), 0600);
  const std::vector<std::vector<std::string>> drops = {
      {}, {At("gone.txt")}, {At("gone"), At("gone.txt")}, {At("pipe")}, {At("pipe"), At("gone")}};
  for (const auto& paths : drops) {
    SCOPED_TRACE(testing::PrintToString(paths));
    FileHandOver handOver{"s", "t", {"earlier"}, {"earlier"}};
    EXPECT_EQ(HandleDroppedFiles(paths, handOver).Next, DropDecision::None);
    EXPECT_EQ(handOver.PresetSource, "s");
    EXPECT_EQ(handOver.PresetTarget, "t");
  }
}

// The whole way from the drop to the rows of the file list.
TEST_F(DroppedFilesTest, DroppedFileBecomesOneEntry) {
  ASSERT_EQ(HandleDroppedFiles({At("one.txt")}, handOver_).Next, DropDecision::OpenFileEntry);
  FileEntryFields fields = ShowFileEntry(project_, EntryPlace::Add(), handOver_);
  ASSERT_TRUE(ApplyFileEntry(project_, EntryPlace::Add(), fields).Accepted);
  ASSERT_EQ(project_.files.size(), 1u);
  EXPECT_EQ(project_.files[0].Caption, At("one.txt"));
  EXPECT_EQ(project_.files[0].Cell(1), "%InstallPath%\\one.txt");
}

TEST_F(DroppedFilesTest, DroppedEmptyFolderBecomesAnEmptyFolderEntry) {
  ASSERT_EQ(HandleDroppedFiles({At("Blank")}, handOver_).Next, DropDecision::OpenFileEntry);
  FileEntryFields fields = ShowFileEntry(project_, EntryPlace::Add(), handOver_);
  ASSERT_TRUE(ApplyFileEntry(project_, EntryPlace::Add(), fields).Accepted);
  EXPECT_EQ(project_.files[0].Caption, "(folder)");
  EXPECT_EQ(project_.files[0].Cell(1), "%InstallPath%\\Blank");
}

TEST_F(DroppedFilesTest, DroppedFolderImportsUnderTheDestinationFolder) {
  ASSERT_EQ(HandleDroppedFiles({At("Data")}, handOver_).Next, DropDecision::OpenFolderImport);
  FolderImportFields fields = ShowFolderImport(project_);
  EXPECT_EQ(FolderImportRows(handOver_, fields.Destination),
            (TStrList{"%InstallPath%\\Data\\a.txt", "%InstallPath%\\Data\\Empty",
                      "%InstallPath%\\Data\\sub\\deep\\c.txt"}));
  EXPECT_EQ(ApplyFolderImport(project_, handOver_, fields), 3u);
  EXPECT_EQ(project_.files[1].Caption, "(folder)");
  EXPECT_EQ(project_.files[2].Cell(1), "%InstallPath%\\Data\\sub\\deep\\c.txt");
}

}  // namespace
}  // namespace bvq

namespace bvq {
namespace {

// Names on disk are UTF-8; the rows hold the project's code page (1252 here), and the build
// finds the file again from the stored text.
TEST_F(DroppedFilesTest, NonAsciiNamesAreStoredInTheProjectCodePageAndResolveBack) {
  const std::string utf8Name = "caf\xC3\xA9 na\xC3\xAFve.txt";  // "café naïve.txt"
  const std::string ansiName = "caf\xE9 na\xEFve.txt";
  folder_.Write("drop/Accents/" + utf8Name, "x");
  ASSERT_EQ(HandleDroppedFiles({At("Accents/" + utf8Name)}, handOver_).Next, DropDecision::OpenFileEntry);
  EXPECT_EQ(handOver_.PresetTarget, "%InstallPath%\\" + ansiName);
  EXPECT_EQ(ExtractFileName(handOver_.PresetSource), ansiName);
  EXPECT_EQ(ResolveProjectPath(project_, handOver_.PresetSource), At("Accents/" + utf8Name));

  ASSERT_EQ(HandleDroppedFiles({At("Accents")}, handOver_).Next, DropDecision::OpenFolderImport);
  EXPECT_EQ(handOver_.ImportTargets, TStrList{"Accents\\" + ansiName});
  EXPECT_TRUE(ProjectFileExists(project_, handOver_.ImportSources.at(0)));
}

TEST_F(DroppedFilesTest, StoredNamesThatExistOnlyByteForByteAreStillFound) {
  // A file whose name on disk is the raw code-page byte (not valid UTF-8).
  const std::string raw = folder_.Write("drop/raw\xE9.txt", "x");
  EXPECT_EQ(ResolveProjectPath(project_, raw), raw);
  EXPECT_TRUE(ProjectFileExists(project_, raw));
  // Not on disk in either form: the converted name, for a file the build is about to write.
  EXPECT_EQ(ResolveProjectPath(project_, At("new\xE9.exe")), At("new\xC3\xA9.exe"));
}

}  // namespace
}  // namespace bvq
