// --export-text and --import-text through the program itself.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
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
  const Outcome<std::string> exportedText = ExportProjectText(path);
  ASSERT_TRUE(exportedText);
  const std::string& expected = *exportedText;
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

// Hostile inputs and outputs: the program never blocks on a FIFO, never reads an endless
// device, and never replaces a device, a FIFO, a folder or its own input.
TEST_F(ProjectCliTest, HostileInputsAndOutputsAreRefusedAndLeftAlone) {
  const std::string project = folder_.Path() + "p.bvq";
  ASSERT_TRUE(SaveProject(project_, session_, project, context_));
  const std::string projectBytes = folder_.Read(project);
  const Outcome<std::string> text = ExportProjectText(project);
  ASSERT_TRUE(text);
  const std::string textPath = folder_.Write("p.txt", *text);
  const std::string fifo = folder_.Path() + "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string deviceLink = folder_.Path() + "null-link";
  ASSERT_EQ(symlink("/dev/null", deviceLink.c_str()), 0);
  const std::string folder = folder_.Path() + "folder";
  std::filesystem::create_directories(folder);
  const std::string projectLink = folder_.Path() + "p-link.bvq";
  ASSERT_EQ(symlink(project.c_str(), projectLink.c_str()), 0);

  struct Case {
    const char* name;
    std::string arguments;
    int status;
  };
  const Case cases[] = {
      {"export from a FIFO", "--export-text '" + fifo + "'", 2},
      {"export from /dev/zero", "--export-text /dev/zero", 2},
      {"import from a FIFO", "--import-text '" + fifo + "' '" + folder_.Path() + "new.bvq'", 2},
      {"import from /dev/zero", "--import-text /dev/zero '" + folder_.Path() + "new.bvq'", 2},
      {"export into a FIFO", "--export-text '" + project + "' '" + fifo + "'", 1},
      {"export into a link to /dev/null", "--export-text '" + project + "' '" + deviceLink + "'", 1},
      {"export into a folder", "--export-text '" + project + "' '" + folder + "'", 1},
      {"export over its own project", "--export-text '" + project + "' '" + project + "'", 1},
      {"export over a link to its own project", "--export-text '" + project + "' '" + projectLink + "'", 1},
      {"import into a link to /dev/null", "--import-text '" + textPath + "' '" + deviceLink + "'", 1},
      {"import over its own text", "--import-text '" + textPath + "' '" + textPath + "'", 1},
  };
  for (const Case& c : cases) {
    // `timeout` turns a hang into a failure instead of a stuck test.
    const std::string command = "timeout 20 '" + std::string(BVQ_PROGRAM) + "' " + c.arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status)) << c.name;
    EXPECT_EQ(WEXITSTATUS(status), c.status) << c.name;
  }
  struct stat st {};
  EXPECT_TRUE(lstat(fifo.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
  EXPECT_TRUE(lstat(deviceLink.c_str(), &st) == 0 && S_ISLNK(st.st_mode));
  EXPECT_TRUE(stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_TRUE(lstat(projectLink.c_str(), &st) == 0 && S_ISLNK(st.st_mode));
  EXPECT_EQ(folder_.Read(project), projectBytes);
  EXPECT_EQ(folder_.Read(textPath), *text);
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() + "new.bvq"));
}

}  // namespace
}  // namespace bvq::test
