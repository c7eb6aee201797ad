#pragma once
// The main window's own settings: its bounds, whether it is maximised, the column widths of
// its entry lists and the interface language, read when the window opens and written when
// it closes.
#include <map>
#include <string>

#include "platform/program_settings.h"

class QMainWindow;

namespace bvq {
class EntryListPanel;
}

namespace bvq::app {

// The main window's entry list panels by page.
using PanelsByPage = std::map<int, EntryListPanel*>;

// Gives the lists their stored column widths and the window its stored bounds (900 x 640 in
// the middle of the screen when none are stored), maximised when it was.
void RestoreWindowSettings(QMainWindow& window, const PanelsByPage& panels, const ProgramSettings& settings);

// Writes the closing settings (WriteClosingSettings) of the window into the store `settingsPath`.
void StoreWindowSettings(const QMainWindow& window, const PanelsByPage& panels, const std::string& language,
                         const std::string& settingsPath);

}  // namespace bvq::app
