#include "platform/system_info.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "../util/temp_dir.h"
#include "platform/shell_folders.h"

namespace bvq {
namespace {

TEST(SystemInfo, AccountTexts) {
  passwd* pw = getpwuid(getuid());
  ASSERT_NE(pw, nullptr);
  EXPECT_EQ(UserName(), pw->pw_name);
  EXPECT_EQ(OrganizationName(), "Unknown");
  EXPECT_EQ(DefaultMailAddress(), "unknown");
  EXPECT_FALSE(IsWindows9x());
}

TEST(SystemInfo, FileDateTextIsEnglishWithoutLeadingZero) {
  test::TempDir dir;
  std::string f = dir.Write("f", "x");
  const char* oldTz = std::getenv("TZ");
  std::string savedTz = oldTz ? oldTz : "";
  setenv("TZ", "UTC", 1);
  tzset();
  struct timespec times[2] = {{1299326400, 0}, {1299326400, 0}};  // 2011-03-05 12:00 UTC
  ASSERT_EQ(utimensat(AT_FDCWD, f.c_str(), times, 0), 0);
  EXPECT_EQ(FileDateText(f), "March 5, 2011");
  EXPECT_EQ(DateText(1325376000), "January 1, 2012");
  EXPECT_EQ(FileDateText(dir.Path() + "missing"), "");
  if (oldTz) setenv("TZ", savedTz.c_str(), 1); else unsetenv("TZ");
  tzset();
}

TEST(SystemInfo, ProcessRunning) {
  char exe[4096];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(n, 0);
  std::string self(exe, size_t(n));
  EXPECT_TRUE(IsProcessRunning(self));
  EXPECT_FALSE(IsProcessRunning("/no/such/program.exe"));

  pid_t child = fork();
  if (child == 0) {
    pause();
    _exit(0);
  }
  EXPECT_TRUE(IsProcessIdRunning(child));
  kill(child, SIGKILL);
  // Ended but not yet collected (a zombie) already counts as ended.
  for (int i = 0; i < 100 && IsProcessIdRunning(child); ++i) usleep(10000);
  EXPECT_FALSE(IsProcessIdRunning(child));
  waitpid(child, nullptr, 0);
  EXPECT_FALSE(IsProcessIdRunning(child));
}

TEST(ShellFolders, FollowTheEnvironment) {
  test::TempDir dir;
  const char* names[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "TMPDIR"};
  std::string saved[4];
  bool had[4];
  for (int i = 0; i < 4; ++i) {
    const char* v = std::getenv(names[i]);
    had[i] = v != nullptr;
    saved[i] = v ? v : "";
  }
  setenv("HOME", dir.Path().c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("XDG_DATA_HOME");
  setenv("TMPDIR", (dir.Path() + "missing-tmp").c_str(), 1);

  EXPECT_EQ(DocumentsFolder(), dir.Path());  // no Documents folder: home
  dir.Mkdir("Documents");
  EXPECT_EQ(DocumentsFolder(), dir.Path() + "Documents/");
  dir.Mkdir("Docs");
  dir.Write(".config/user-dirs.dirs", "# x\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
  EXPECT_EQ(DocumentsFolder(), dir.Path() + "Docs/");
  EXPECT_EQ(DefaultSetupFile(), dir.Path() + "Docs/Setup.exe");
  EXPECT_EQ(UserDataFolder(), dir.Path() + ".local/share/Belvandorithquessal/");
  EXPECT_EQ(UniqueNumberedFile("Bitmaps\\Import\\Bmp", "bmp"),
            dir.Path() + ".local/share/Belvandorithquessal/Bitmaps/Import/Bmp001.bmp");
  EXPECT_EQ(TempFolder(), "/tmp/");  // TMPDIR names no folder
  setenv("TMPDIR", dir.Path().c_str(), 1);
  EXPECT_EQ(TempFolder(), dir.Path());

  for (int i = 0; i < 4; ++i) {
    if (had[i]) setenv(names[i], saved[i].c_str(), 1); else unsetenv(names[i]);
  }
}

}  // namespace
}  // namespace bvq
