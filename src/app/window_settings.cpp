#include "app/window_settings.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QScreen>
#include <QTreeWidget>

#include "editors/entry_list_panel.h"
#include "platform/settings_store.h"

namespace bvq::app {

void RestoreWindowSettings(QMainWindow& window, const PanelsByPage& panels, const ProgramSettings& settings) {
  for (const auto& [key, width] : settings.columnWidths)
    for (const auto& [page, panel] : panels)
      if (panel->ListNumber() == key.first && key.second < panel->Tree()->columnCount())
        panel->Tree()->header()->resizeSection(key.second, width);
  if (settings.bounds) {
    window.setGeometry(settings.bounds->left, settings.bounds->top, settings.bounds->width, settings.bounds->height);
  } else {
    window.resize(900, 640);
    if (QScreen* screen = QGuiApplication::primaryScreen())
      window.move(screen->availableGeometry().center() - window.rect().center());
  }
  if (settings.isMaximized) window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void StoreWindowSettings(const QMainWindow& window, const PanelsByPage& panels, const std::string& language,
                         const std::string& settingsPath) {
  ProgramSettings closing;
  closing.language = language;
  closing.isMaximized = window.isMaximized();
  if (!closing.isMaximized) {
    const QRect g = window.geometry();
    closing.bounds = WindowBounds{g.width(), g.height(), g.x(), g.y()};
  }
  for (const auto& [page, panel] : panels)
    for (int j = 0; j < panel->Tree()->columnCount(); ++j)
      closing.columnWidths[{panel->ListNumber(), j}] = panel->Tree()->header()->sectionSize(j);
  SettingsStore store = SettingsStore::Open(settingsPath);
  WriteClosingSettings(store, closing);
  store.Save();
}

}  // namespace bvq::app
