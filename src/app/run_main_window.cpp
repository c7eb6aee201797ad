#include "app/run_main_window.h"

#include <QApplication>
#include <QTimer>

#include "app/main_form.h"
#include "platform/program_settings.h"
#include "platform/settings_store.h"
#include "util/strings.h"

namespace bvq {

int RunMainWindow(int argc, char** argv, const CommandLine& cl) {
  QApplication application(argc, argv);
  application.setApplicationName(QString::fromUtf8(kProgramName));
  const std::string settingsPath = SettingsStore::DefaultPath();
  const ProgramSettings settings = ReadProgramSettings(SettingsStore::Open(settingsPath));
  app::TMainForm form(ResolveInterfaceLanguage(settings.language), settingsPath);
  form.show();
  form.raise();
  form.activateWindow();
  const std::string open = cl.kind == CommandKind::OpenFile ? cl.project : std::string();
  QTimer::singleShot(200, &form, [&form, open] { form.StartupOpen(open); });
  return application.exec();
}

}  // namespace bvq
