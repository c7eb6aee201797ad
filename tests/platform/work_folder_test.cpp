#include "platform/work_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "../util/temp_dir.h"
#include "platform/shell_folders.h"

namespace bvq {
namespace {

mode_t ModeOf(const std::string& path) {
  struct stat st;
  lstat(path.c_str(), &st);
  return st.st_mode & 0777;
}

TEST(WorkFolder, CreatedPrivateWithMissingParents) {
  test::TempDir dir;
  Outcome<std::string> prepared = PrepareWorkFolder(dir.Path() + "a/b/work");
  ASSERT_TRUE(prepared) << prepared.error();
  const std::string folder = *prepared;
  EXPECT_EQ(folder, dir.Path() + "a/b/work/");
  EXPECT_EQ(ModeOf(folder), 0700u);
  // Preparing it again accepts the existing folder.
  EXPECT_EQ(PrepareWorkFolder(folder).value(), folder);
  // A path written with "\" is read as "/".
  EXPECT_EQ(PrepareWorkFolder(dir.Path() + "a\\b\\work\\").value(), folder);
}

TEST(WorkFolder, AnExistingFolderFromTheSettingsIsMadePrivate) {
  test::TempDir dir;
  const std::string chosen = dir.Mkdir("chosen");
  ASSERT_EQ(chmod(chosen.c_str(), 0777), 0);
  ASSERT_TRUE(PrepareWorkFolder(chosen));
  EXPECT_EQ(ModeOf(chosen), 0700u);
}

TEST(WorkFolder, RefusesALink) {
  test::TempDir dir;
  dir.Mkdir("target");
  std::filesystem::create_directory_symlink(dir.Path() + "target", dir.Path() + "work");
  Outcome<std::string> prepared = PrepareWorkFolder(dir.Path() + "work");
  EXPECT_FALSE(prepared);
  EXPECT_NE(prepared.error().find("link"), std::string::npos);
}

TEST(WorkFolder, RefusesAFolderOfAnotherAccount) {
  test::TempDir dir;
  std::string error;
  if (getuid() == 0) {
    std::string theirs = dir.Mkdir("theirs");
    ASSERT_EQ(chown(theirs.c_str(), 65534, 65534), 0);
    Outcome<std::string> prepared = PrepareWorkFolder(theirs);
    EXPECT_FALSE(prepared);
    error = prepared.error();
  } else {
    Outcome<std::string> prepared = PrepareWorkFolder("/");  // owned by root
    EXPECT_FALSE(prepared);
    error = prepared.error();
  }
  EXPECT_NE(error.find("another account"), std::string::npos);
}

TEST(WorkFolder, RefusesAFileAndAnEmptyPath) {
  test::TempDir dir;
  EXPECT_FALSE(PrepareWorkFolder(dir.Write("file", "x")));
  EXPECT_FALSE(PrepareWorkFolder(""));
}

TEST(WorkFolder, DefaultIsPerAccountInTheTemporaryFolder) {
  EXPECT_EQ(DefaultWorkFolder(), TempFolder() + "$bvq_inst-" + std::to_string(getuid()) + "/");
}

}  // namespace
}  // namespace bvq
