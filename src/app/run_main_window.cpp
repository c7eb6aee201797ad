#include "app/run_main_window.h"

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <memory>

#include "app/main_form.h"
#include "app/splash_form.h"
#include "platform/program_settings.h"
#include "platform/settings_store.h"
#include "util/strings.h"

namespace bvq {

int RunMainWindow(int argc, char** argv, const CommandLine& cl) {
  QApplication application(argc, argv);
  application.setApplicationName(QString::fromUtf8(kProgramName));
  const std::string settingsPath = SettingsStore::DefaultPath();
  const ProgramSettings settings = ReadProgramSettings(SettingsStore::Open(settingsPath));
  // The splash window shows while the main window is made, and at least 200 ms.
  auto splash = std::make_unique<app::TSplashForm>();
  splash->ShowNow();
  QThread::msleep(200);
  app::TMainForm form(ResolveInterfaceLanguage(settings.language), settingsPath);
  form.show();
  form.raise();
  form.activateWindow();
  splash.reset();
  const std::string open = cl.kind == CommandKind::OpenFile ? cl.project : std::string();
  QTimer::singleShot(200, &form, [&form, open] { form.StartupOpen(open); });
  return application.exec();
}

}  // namespace bvq
