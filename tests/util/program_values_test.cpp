#include "util/program_values.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "util/paths.h"

namespace bvq {
namespace {

TEST(ProgramValues, VersionString) {
  EXPECT_EQ(VersionString(5, 0, 4, 10), "5.04");
  EXPECT_EQ(VersionString(5, 0, 4, 3), "5.04 beta 3");
  EXPECT_EQ(VersionString(5, 1, 12, 99), "5.112");
  EXPECT_EQ(ProgramVersion(), "5.04");  // the program is 5.0.4.10
}

TEST(ProgramValues, ProgramFolderIsTheExecutablesFolder) {
  char exe[4096];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(n, 0);
  EXPECT_EQ(ProgramFolder(), ExtractFilePath(std::string(exe, size_t(n))));
  EXPECT_EQ(ProgramFolder().back(), '/');
  std::string saved = ProgramFolder();
  SetProgramFolder("/x/y");
  EXPECT_EQ(ProgramFolder(), "/x/y/");
  SetProgramFolder(saved);
}

}  // namespace
}  // namespace bvq
