#include "preview/render_command.h"

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <iostream>

#include "platform/command_line.h"
#include "preview/looks_render.h"
#include "project/project_file.h"
#include "project/project_session.h"
#include "util/strings.h"

namespace bvq::preview {

namespace {

void Complain(const std::string& message) {
  std::cerr << "belvandorithquessal: " << ControlsAsQuestionMarks(message) << "\n";
}

// Saves `image` as PNG through a temporary file, so a failed write leaves nothing behind.
bool SavePng(const QImage& image, const QString& path) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit()) return true;
  Complain("cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
  return false;
}

}  // namespace

int RenderPreviewFiles(const std::string& projectPath, const std::string& outputFolder) {
  Project project;
  ProjectSession session(project);
  ProjectContext context;
  if (const Outcome<ProjectLoad> loaded = LoadProject(project, session, projectPath, context); !loaded) {
    Complain(projectPath + ": " + loaded.error());
    return kExitProjectUnreadable;
  }
  const QDir folder(QString::fromStdString(outputFolder));
  if (!folder.mkpath(QStringLiteral("."))) {
    Complain("cannot make the folder " + outputFolder);
    return 1;
  }
  bool ok = SavePng(RenderHeader(project), folder.filePath(QStringLiteral("header.png")));
  ok = SavePng(RenderLogo(project), folder.filePath(QStringLiteral("logo.png"))) && ok;
  auto background = RenderBackground(project, kRenderedScreenSize);
  if (!background) {
    Complain(background.error());
    return 1;
  }
  ok = SavePng(*background, folder.filePath(QStringLiteral("background.png"))) && ok;
  return ok ? 0 : 1;
}

int RunRenderPreview(int argc, char** argv, const std::string& projectPath, const std::string& outputFolder) {
  // Fonts and painting need a Qt application; no display is needed or wanted.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return RenderPreviewFiles(projectPath, outputFolder);
}

}  // namespace bvq::preview
