#include "util/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace bvq {
namespace {

TEST(Files, SizeTimeAndAttributes) {
  test::TempDir dir;
  std::string f = dir.Write("a.bin", std::string(3000, 'x'));
  EXPECT_EQ(FileSize64(f), 3000);
  EXPECT_EQ(FileSize64(dir.Path()), 0);
  EXPECT_EQ(FileSize64(dir.Path() + "missing"), 0);
  struct timespec times[2] = {{1299326400, 0}, {1299326400, 0}};  // 2011-03-05 12:00 UTC
  ASSERT_EQ(utimensat(AT_FDCWD, f.c_str(), times, 0), 0);
  EXPECT_EQ(FileWriteTime(f), kUnixEpochAsFileTime + 1299326400ULL * 10000000ULL);
  EXPECT_EQ(FileWriteTime(dir.Path() + "missing"), 0u);
  EXPECT_EQ(FileAttributesWin(f), 0x20u);
  chmod(f.c_str(), 0444);
  EXPECT_EQ(FileAttributesWin(f), 0x21u);
}

TEST(Files, ListFolderFilesTopLevelAndEmptyFolders) {
  test::TempDir dir;
  dir.Write("a.txt", "a");
  dir.Mkdir("E");
  dir.Write("Sub/b.txt", "b");
  dir.Mkdir("Sub/Empty");
  std::string root = dir.Path();

  TStrList top;
  ListFolderFiles(top, root, true, false);
  EXPECT_EQ(top, (TStrList{root + "a.txt"}));

  TStrList topEmpty;
  ListFolderFiles(topEmpty, root, true, true);
  EXPECT_EQ(topEmpty, (TStrList{root + "a.txt", root + "E"}));

  TStrList all;
  ListFolderFiles(all, root, false, true);
  EXPECT_EQ(all, (TStrList{root + "a.txt", root + "E", root + "Sub/b.txt", root + "Sub/Empty"}));
  EXPECT_EQ(FirstFileInFolder(root), root + "a.txt");
  EXPECT_EQ(FirstFileInFolder(root + "E"), "");
}

TEST(Files, ListFolderFilesSurvivesALinkLoop) {
  test::TempDir dir;
  dir.Write("x/f.txt", "f");
  std::filesystem::create_directory_symlink(dir.Path() + "x", dir.Path() + "x/back");
  TStrList all;
  ListFolderFiles(all, dir.Path(), false, false);
  // x/back is the folder x itself again: listed once, not endlessly.
  EXPECT_EQ(all, (TStrList{dir.Path() + "x/f.txt"}));
}

TEST(Files, ListFileNamesSortedWithoutCase) {
  test::TempDir dir;
  for (const char* n : {"b.lng", "A.lng", "c.LNG", "notes.txt", "a.lng"}) dir.Write(n, "");
  dir.Mkdir("d.lng");
  EXPECT_EQ(ListFileNames(dir.Path(), ".lng"), (TStrList{"A.lng", "a.lng", "b.lng", "c.LNG"}));
}

TEST(Files, UniqueNumberedFileSkipsExistingAndGrowsPastThreeDigits) {
  test::TempDir dir;
  std::string first = UniqueNumberedFileIn(dir.Path(), "Icons\\Import\\Icon_", "ico");
  EXPECT_EQ(first, dir.Path() + "Icons/Import/Icon_001.ico");
  EXPECT_TRUE(DirectoryExists(dir.Path() + "Icons/Import"));
  dir.Write("Icons/Import/Icon_001.ico", "");
  dir.Write("Icons/Import/Icon_002.ico", "");
  EXPECT_EQ(UniqueNumberedFileIn(dir.Path(), "Icons\\Import\\Icon_", "ico"), dir.Path() + "Icons/Import/Icon_003.ico");
  for (int n = 3; n <= 999; ++n) {
    char name[64];
    std::snprintf(name, sizeof name, "B/Bmp%03d.bmp", n);
    dir.Write(name, "");
  }
  dir.Write("B/Bmp001.bmp", "");
  dir.Write("B/Bmp002.bmp", "");
  EXPECT_EQ(UniqueNumberedFileIn(dir.Path(), "B/Bmp", "bmp"), dir.Path() + "B/Bmp1000.bmp");
}

TEST(Files, WriteFileAtomicReplacesWholeFileAndKeepsOldOnFailure) {
  test::TempDir dir;
  std::string f = dir.Write("s.conf", "old");
  chmod(f.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomic(f, "new content"));
  EXPECT_EQ(*ReadFileBytes(f), "new content");
  struct stat st;
  stat(f.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the file's mode is kept
  // No temporary file is left beside it.
  TStrList left;
  ListFolderFiles(left, dir.Path(), true, true);
  EXPECT_EQ(left, TStrList{f});

  // The target folder does not exist: error, nothing written.
  Status written = WriteFileAtomic(dir.Path() + "none/x.conf", "x");
  EXPECT_FALSE(written);
  EXPECT_NE(written.error.find("none"), std::string::npos);
  // The target is a folder: the rename fails, the folder stays and no temporary file is left.
  dir.Mkdir("adir");
  EXPECT_FALSE(WriteFileAtomic(dir.Path() + "adir", "x"));
  EXPECT_TRUE(DirectoryExists(dir.Path() + "adir"));
  TStrList after;
  ListFolderFiles(after, dir.Path(), true, true);
  EXPECT_EQ(after, (TStrList{dir.Path() + "adir", f}));
}

TEST(Files, ReadFileBytesAndForceDirectories) {
  test::TempDir dir;
  EXPECT_FALSE(ReadFileBytes(dir.Path() + "missing"));
  EXPECT_FALSE(ReadFileBytes(dir.Path()));
  std::string bin("a\0b\xff", 4);
  EXPECT_EQ(*ReadFileBytes(dir.Write("b", bin)), bin);
  EXPECT_TRUE(ForceDirectories(dir.Path() + "x/y/z/"));
  EXPECT_TRUE(DirectoryExists(dir.Path() + "x/y/z"));
  EXPECT_FALSE(ForceDirectories(dir.Write("file", "") + "/sub"));
  EXPECT_TRUE(FolderHasEntries(dir.Path()));
  EXPECT_FALSE(FolderHasEntries(dir.Path() + "x/y/z"));
}

}  // namespace
}  // namespace bvq
