// Pictures of the program's windows for looking at them: the main window's pages and the
// secondary windows and dialogs, in one interface language, as PNG files.
//   bvq_screenshots OUT_FOLDER [LANGUAGE]     (run under a display, e.g. xvfb-run -a)
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/about_form.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/settings_form.h"
#include "app/splash_form.h"
#include "app/update_form.h"
#include "editors/entry_dialogs.h"
#include "editors/window_texts.h"
#include "platform/settings_store.h"
#include "project/language_files.h"
#include "util/program_values.h"

namespace {

void Settle() {
  for (int i = 0; i < 10; ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(20);
  }
}

void Save(QWidget* w, const QString& folder, const QString& name) {
  w->show();
  w->raise();
  Settle();
  const QString file = folder + "/" + name + ".png";
  if (!w->grab().save(file)) std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
  else std::printf("%s\n", qPrintable(file));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bvq_screenshots OUT_FOLDER [LANGUAGE]\n");
    return 2;
  }
  QApplication application(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const std::string language = argc > 2 ? argv[2] : "English";
  const QString suffix = QString::fromStdString(language).toLower();
  QDir().mkpath(folder);
  if (const char* programFolder = std::getenv("BVQ_PROGRAM_FOLDER")) bvq::SetProgramFolder(programFolder);
  if (!bvq::LoadInterfaceLanguage(language)) {
    std::fprintf(stderr, "no interface language %s\n", language.c_str());
    return 1;
  }
  {
    bvq::app::TSplashForm splash;
    Save(&splash, folder, "splash");
  }
  const std::string settings = QDir::tempPath().toStdString() + "/bvq-screenshots.conf";
  bvq::app::TMainForm main(language, settings);
  main.resize(980, 680);
  main.show();
  for (int page = 1; page <= bvq::app::kPageCount; ++page) {
    main.ShowPage(page);
    Save(&main, folder, QString("main-page%1-%2").arg(page, 2, 10, QChar('0')).arg(suffix));
    // The tabbed pages: every tab.
    if (page == 4 || page == 5)
      if (auto* tabs = main.findChild<QTabWidget*>(page == 4 ? "PageControl5" : "PageControl1"))
        for (int tab = 1; tab < tabs->count(); ++tab) {
          tabs->setCurrentIndex(tab);
          Save(&main, folder, QString("main-page%1-tab%2-%3").arg(page, 2, 10, QChar('0')).arg(tab).arg(suffix));
        }
  }
  main.ShowPage(1);
  { bvq::app::TAboutForm w(language, &main); Save(&w, folder, "about-" + suffix); }
  { bvq::app::TInfoForm w(main.project(), main.session(), &main); Save(&w, folder, "information-" + suffix); }
  { bvq::app::TSettingsForm w(settings, &main); Save(&w, folder, "options-" + suffix); }
  { bvq::app::TUpdateForm w(&main, "http://127.0.0.1:9/update.txt"); Save(&w, folder, "update-" + suffix); }
  bvq::FileHandOver handOver;
  for (int list = 1; list <= 11; ++list) {
    auto dialog = bvq::CreateEntryDialog(&main, main.project(), handOver, list, bvq::EntryMode::Add, -1);
    Save(dialog.get(), folder, QString("dialog-list%1-%2").arg(list, 2, 10, QChar('0')).arg(suffix));
  }
  { auto d = bvq::CreateAssociationDialog(&main, main.project()); Save(d.get(), folder, "dialog-association-" + suffix); }
  QFile::remove(QString::fromStdString(settings));
  return 0;
}
