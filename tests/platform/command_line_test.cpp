#include "platform/command_line.h"

#include <gtest/gtest.h>

#include "../util/temp_dir.h"

namespace bvq {
namespace {

TEST(CommandLine, BuildSwitchInAnyLetterCase) {
  test::TempDir dir;
  std::string project = dir.Write("p.bvq", "x");
  for (const char* sw : {"/build", "/BUILD", "/Build", "--build"}) {
    CommandLine cl = ParseCommandLine({sw, project});
    EXPECT_EQ(cl.kind, CommandKind::Build) << sw;
    EXPECT_EQ(cl.project, project);
  }
}

TEST(CommandLine, BuildWithMissingFileStartsTheWindow) {
  CommandLine cl = ParseCommandLine({"/build", "/no/such/project.bvq"});
  EXPECT_EQ(cl.kind, CommandKind::Window);
  EXPECT_TRUE(cl.buildRequested);
  EXPECT_NE(cl.message.find("/no/such/project.bvq"), std::string::npos);
  EXPECT_EQ(ParseCommandLine({"/build"}).kind, CommandKind::Window);
}

TEST(CommandLine, SingleFileOpensOtherwiseWindow) {
  test::TempDir dir;
  std::string project = dir.Write("p.bvq", "");
  CommandLine open = ParseCommandLine({project});
  EXPECT_EQ(open.kind, CommandKind::OpenFile);
  EXPECT_EQ(open.project, project);
  EXPECT_EQ(ParseCommandLine({dir.Path() + "missing.bvq"}).kind, CommandKind::Window);
  EXPECT_EQ(ParseCommandLine({}).kind, CommandKind::Window);
  EXPECT_EQ(ParseCommandLine({dir.Path()}).kind, CommandKind::Window);  // a folder is not a project
}

TEST(CommandLine, Options) {
  EXPECT_EQ(ParseCommandLine({"--help"}).kind, CommandKind::Help);
  EXPECT_EQ(ParseCommandLine({"--version"}).kind, CommandKind::Version);
  CommandLine ex = ParseCommandLine({"--export-text", "a.bvq"});
  EXPECT_EQ(ex.kind, CommandKind::ExportText);
  EXPECT_EQ(ex.output, "");
  CommandLine im = ParseCommandLine({"--import-text", "a.txt", "b.bvq"});
  EXPECT_EQ(im.kind, CommandKind::ImportText);
  EXPECT_EQ(im.output, "b.bvq");
  EXPECT_EQ(ParseCommandLine({"--import-text", "a.txt"}).kind, CommandKind::Error);
  EXPECT_EQ(ParseCommandLine({"--export-text"}).kind, CommandKind::Error);
  CommandLine render = ParseCommandLine({"--render-preview", "a.bvq", "out"});
  EXPECT_EQ(render.kind, CommandKind::RenderPreview);
  EXPECT_EQ(render.project, "a.bvq");
  EXPECT_EQ(render.output, "out");
  EXPECT_EQ(ParseCommandLine({"--render-preview", "a.bvq"}).kind, CommandKind::Error);
  EXPECT_EQ(ParseCommandLine({"--frobnicate"}).kind, CommandKind::Error);
}

TEST(CommandLine, SetupReaderAndSigning) {
  test::TempDir dir;
  const std::string project = dir.Write("p.bvq", "x");
  CommandLine signedBuild = ParseCommandLine({"/build", project, "--sign-command", "sign {file}"});
  EXPECT_EQ(signedBuild.kind, CommandKind::Build);
  EXPECT_TRUE(signedBuild.signCommandGiven);
  EXPECT_EQ(signedBuild.signCommand, "sign {file}");
  EXPECT_FALSE(ParseCommandLine({"/build", project}).signCommandGiven);
  EXPECT_EQ(ParseCommandLine({"/build", project, "--sign-command"}).kind, CommandKind::Error);
  EXPECT_EQ(ParseCommandLine({"/build", project, "extra"}).kind, CommandKind::Error);

  CommandLine inspect = ParseCommandLine({"--inspect", "Setup.exe", "--json"});
  EXPECT_EQ(inspect.kind, CommandKind::Inspect);
  EXPECT_EQ(inspect.project, "Setup.exe");
  EXPECT_TRUE(inspect.json);
  EXPECT_FALSE(ParseCommandLine({"--inspect", "Setup.exe"}).json);
  EXPECT_EQ(ParseCommandLine({"--inspect"}).kind, CommandKind::Error);
  EXPECT_EQ(ParseCommandLine({"--inspect", "Setup.exe", "--xml"}).kind, CommandKind::Error);

  CommandLine extract = ParseCommandLine({"--extract", "Setup.exe", "out", "--force"});
  EXPECT_EQ(extract.kind, CommandKind::Extract);
  EXPECT_EQ(extract.output, "out");
  EXPECT_TRUE(extract.force);
  EXPECT_FALSE(ParseCommandLine({"--extract", "Setup.exe", "out"}).force);
  EXPECT_EQ(ParseCommandLine({"--extract", "Setup.exe"}).kind, CommandKind::Error);
  EXPECT_EQ(ParseCommandLine({"--extract", "Setup.exe", "out", "--overwrite"}).kind, CommandKind::Error);
}

}  // namespace
}  // namespace bvq
