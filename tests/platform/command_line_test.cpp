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

}  // namespace
}  // namespace bvq
