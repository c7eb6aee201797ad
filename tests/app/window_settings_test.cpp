// The main window's own settings across a close and the next start: its bounds, its
// maximised state (which keeps the bounds stored before) and the column widths of its lists.
#include <QHeaderView>
#include <QTreeWidget>

#include "app_fixture.h"
#include "editors/entry_list_panel.h"
#include "platform/program_settings.h"

namespace bvq::test {
namespace {

class WindowSettingsTest : public AppFixture {
 protected:
  QHeaderView* FilesHeader(app::TMainForm& window) { return window.PanelOfPage(2)->Tree()->header(); }
};

TEST_F(WindowSettingsTest, BoundsStateAndColumnWidthsComeBack) {
  form->showNormal();
  form->setGeometry(40, 50, 930, 610);
  // Column 2 of the files list ("If the file exists") keeps its width; the others stretch.
  FilesHeader(*form)->resizeSection(2, 160);
  ASSERT_TRUE(form->close());

  ProgramSettings stored = ReadProgramSettings(SettingsStore::Open(settingsPath));
  ASSERT_TRUE(stored.bounds.has_value());
  EXPECT_EQ(stored.bounds->left, 40);
  EXPECT_EQ(stored.bounds->top, 50);
  EXPECT_EQ(stored.bounds->width, 930);
  EXPECT_EQ(stored.bounds->height, 610);
  EXPECT_FALSE(stored.isMaximized);
  EXPECT_EQ(stored.columnWidths.at({3, 2}), 160);

  {
    app::TMainForm reopened("English", settingsPath);
    EXPECT_EQ(reopened.geometry(), QRect(40, 50, 930, 610));
    EXPECT_EQ(FilesHeader(reopened)->sectionSize(2), 160);
    EXPECT_FALSE(reopened.windowState() & Qt::WindowMaximized);
    reopened.show();
    reopened.setGeometry(10, 10, 500, 400);
    reopened.showMaximized();
    ASSERT_TRUE(reopened.close());
  }
  // Closed maximised: the bounds stored by the close before stay.
  stored = ReadProgramSettings(SettingsStore::Open(settingsPath));
  EXPECT_TRUE(stored.isMaximized);
  ASSERT_TRUE(stored.bounds.has_value());
  EXPECT_EQ(stored.bounds->width, 930);

  app::TMainForm maximised("English", settingsPath);
  EXPECT_TRUE(maximised.windowState() & Qt::WindowMaximized);
}

}  // namespace
}  // namespace bvq::test
