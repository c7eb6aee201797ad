// --export-text and --import-text through the program itself.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "project/project_file.h"
#include "project_test_support.h"
#include "util/strings.h"

namespace bvq::test {
namespace {

struct ProgramRun {
  int status = -1;
  std::string out;
};

// Runs the program with `arguments` (already quoted), standard error discarded.
ProgramRun RunProgram(const std::string& arguments) {
  ProgramRun run;
  const std::string command = std::string("'") + BVQ_PROGRAM + "' " + arguments + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[65536];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class ProjectCliTest : public ProjectTest {};

TEST_F(ProjectCliTest, ExportPrintsTheProjectTextAndImportRecreatesTheFile) {
  project_.files.AppendCells({"a.txt", "%InstallPath%\\a.txt", "E236", "Yes"});
  const std::string path = folder_.Path() + "p.bvq";
  ASSERT_TRUE(SaveProject(project_, session_, path, context_));

  const ProgramRun exported = RunProgram("--export-text '" + path + "'");
  ASSERT_EQ(exported.status, 0);
  std::string expected;
  ASSERT_TRUE(ExportProjectText(path, expected));
  EXPECT_EQ(exported.out, expected);
  const auto lines = SplitText("\r\n", exported.out);
  ASSERT_GT(lines.size(), 14u);
  EXPECT_EQ(lines[0], "[INFO]");
  EXPECT_EQ(lines[7], "[HEADER]");
  EXPECT_EQ(lines[10], "128");
  EXPECT_EQ(lines[11], "129");
  EXPECT_EQ(lines[12], "11");
  EXPECT_EQ(lines[13], "[CONTROLS]");
  EXPECT_EQ(lines.back(), "[END_PROJECT]");

  const std::string textPath = folder_.Path() + "p.txt";
  ASSERT_EQ(RunProgram("--export-text '" + path + "' '" + textPath + "'").status, 0);
  EXPECT_EQ(folder_.Read(textPath), expected);
  const std::string copy = folder_.Path() + "copy.bvq";
  ASSERT_EQ(RunProgram("--import-text '" + textPath + "' '" + copy + "'").status, 0);
  EXPECT_EQ(folder_.Read(copy), folder_.Read(path));
}

TEST_F(ProjectCliTest, DamagedProjectIsRefused) {
  // The length field announces 16 bytes; 3 follow.
  const std::string path = folder_.Write("bad.bvq", std::string("Belvandorithquessal Project v.3\x10\0\0\0abc", 38));
  const ProgramRun run = RunProgram("--export-text '" + path + "'");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace bvq::test
