// `belvandorithquessal --render-preview PROJECT.bvq OUTDIR` as a user runs it: the three
// pictures with their sizes and the same pixels as the previews, the exit statuses, and
// nothing written for a project that cannot be read.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

#include "preview/looks_render.h"
#include "preview_support.h"
#include "project/new_project.h"
#include "project/project_file.h"
#include "project/project_session.h"
#include "test_support.h"

namespace bvq::preview::test {
namespace {

namespace fs = std::filesystem;

int RunProgram(const std::string& arguments) {
  const std::string command = "QT_QPA_PLATFORM=offscreen '" BVQ_BINARY_DIR "/belvandorithquessal' " + arguments +
                              " 2>/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class RenderCommandTest : public ::testing::Test {
 protected:
  std::string Save(Project& p) {
    ProjectSession session(p);
    ProjectContext context;
    const std::string path = dir / "looks.bvq";
    Status r = SaveProject(p, session, path, context);
    EXPECT_TRUE(r.ok()) << r.error;
    return path;
  }
  Project Sample() {
    Project p;
    ProjectSession session(p);
    ProjectContext context;
    NewProject(p, session, context);
    p.headerGradient = true;
    p.headerGradientStart = WinColor(255, 0, 0);
    p.headerGradientEnd = WinColor(0, 0, 255);
    p.showBackground = p.backgroundIsGradient = true;
    p.backgroundGradientStart = WinColor(0, 255, 0);
    p.backgroundGradientEnd = WinColor(0, 0, 0);
    p.showLogo = true;
    p.logoPicture = dir / "logo.png";
    p.logoPicturePosition = {7, 9};
    SavePicture(p.logoPicture, 20, 30, [](int, int) { return QColor(255, 0, 0); });
    return p;
  }
  bvq::test::TempFolder dir;
};

TEST_F(RenderCommandTest, WritesTheThreePicturesAsThePreviewsDrawThem) {
  Project p = Sample();
  const std::string project = Save(p);
  const std::string out = dir / "out/looks";  // made when missing
  ASSERT_EQ(RunProgram("--render-preview '" + project + "' '" + out + "'"), 0);

  // The project as the program reads it back.
  Project loaded;
  ProjectSession session(loaded);
  ASSERT_TRUE(LoadProject(loaded, session, project, ProjectContext{}).ok());
  const QImage background(QString::fromStdString(out + "/background.png"));
  const QImage header(QString::fromStdString(out + "/header.png"));
  const QImage logo(QString::fromStdString(out + "/logo.png"));
  ASSERT_EQ(background.size(), QSize(1024, 768));
  ASSERT_EQ(header.size(), QSize(497, 60));
  ASSERT_EQ(logo.size(), QSize(166, 316));
  EXPECT_EQ(At(background, 0, 0), QColor(0, 255, 0));
  EXPECT_EQ(At(background, 1023, 767), QColor(0, 0, 0));
  EXPECT_EQ(At(header, 1, 50), QColor(255, 0, 0));
  EXPECT_EQ(At(logo, 7, 9), QColor(255, 0, 0));
  EXPECT_EQ(At(logo, 6, 9), QColor(Qt::white));
  EXPECT_EQ(header.convertToFormat(QImage::Format_RGB32), RenderHeader(loaded));
  EXPECT_EQ(logo.convertToFormat(QImage::Format_RGB32), RenderLogo(loaded));
}

TEST_F(RenderCommandTest, UnreadableProjectExitsWithTwoAndWritesNothing) {
  const std::string bad = dir / "bad.bvq";
  bvq::test::WriteFile(bad, "this is not a project");
  const std::string out = dir / "out";
  EXPECT_EQ(RunProgram("--render-preview '" + bad + "' '" + out + "'"), 2);
  EXPECT_EQ(RunProgram("--render-preview '" + (dir / "missing.bvq") + "' '" + out + "'"), 2);
  EXPECT_FALSE(fs::exists(out + "/header.png"));
  EXPECT_FALSE(fs::exists(out + "/background.png"));
  EXPECT_EQ(RunProgram("--render-preview '" + bad + "'"), 2) << "a missing output folder is a usage error";
}

TEST_F(RenderCommandTest, UnreadableBackgroundPictureFailsThatPictureOnly) {
  Project p = Sample();
  p.backgroundIsGradient = false;
  p.backgroundPicture = dir / "gone.bmp";
  const std::string project = Save(p);
  const std::string out = dir / "out";
  EXPECT_EQ(RunProgram("--render-preview '" + project + "' '" + out + "'"), 1);
  EXPECT_TRUE(fs::exists(out + "/header.png"));
  EXPECT_TRUE(fs::exists(out + "/logo.png"));
  EXPECT_FALSE(fs::exists(out + "/background.png"));
}

}  // namespace
}  // namespace bvq::preview::test
