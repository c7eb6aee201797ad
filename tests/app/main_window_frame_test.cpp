// The frame of the main window as a person meets it: typing into the volume size, the
// progress words of the status bar going away, the about window's link, the splash window,
// the column headings at the default size.
#include <QFileDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QLabel>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include "app/about_form.h"
#include "app/splash_form.h"
#include "app/web_addresses.h"
#include "../editors/modal_driver.h"
#include "app_fixture.h"
#include "editors/entry_dialogs.h"
#include "editors/entry_list_panel.h"
#include "util/program_values.h"

namespace bvq::test {
namespace {

class MainWindowFrameTest : public AppFixture {};

TEST_F(MainWindowFrameTest, VolumeSizeTakesDigitsOnlyAndCapsAt32767) {
  form->ShowPage(1);
  Widget<QComboBox>("ComboBox4")->setCurrentIndex(4);  // a size given
  auto* size = Widget<QSpinBox>("UpDown1");
  ASSERT_TRUE(size->isEnabled());
  const struct {
    const char* typed;
    int value;
  } cases[] = {{"650", 650}, {"99999", 32767}, {"32768", 32767}, {"12a3", 123}, {"0", 0}};
  for (const auto& c : cases) {
    size->setFocus();
    size->selectAll();
    QTest::keyClick(size, Qt::Key_Delete);
    QTest::keyClicks(size, c.typed);
    EXPECT_EQ(size->value(), c.value) << c.typed;
    EXPECT_EQ(form->project().volumeSize, c.value) << c.typed;
  }
  // The arrow keys leave the value alone.
  QTest::keyClick(size, Qt::Key_Up);
  EXPECT_EQ(size->value(), 0);
}

TEST_F(MainWindowFrameTest, ProgressWordsGoAwayAfterAMoment) {
  form->NewProjectAction();
  EXPECT_EQ(form->StatusText(1), "New OK");
  EXPECT_TRUE(QTest::qWaitFor([this] { return form->StatusText(1).isEmpty(); }, 2000));
  Project p = NewSampleProject();
  const std::string path = SaveSample(p, "a.bvq");
  ASSERT_TRUE(form->LoadFile(path));
  EXPECT_EQ(form->StatusText(1), "Load OK");
  EXPECT_TRUE(QTest::qWaitFor([this] { return form->StatusText(1).isEmpty(); }, 2000));
}

// Records what a label shows each time it is painted.
class PaintedTexts : public QObject {
 public:
  explicit PaintedTexts(QLabel* label) : label_(label) { label->installEventFilter(this); }
  QStringList texts;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == label_ && event->type() == QEvent::Paint) texts << label_->text();
    return false;
  }

 private:
  QLabel* label_;
};

TEST_F(MainWindowFrameTest, AnIniImportReportsItsProgressInTheMainStatusBar) {
  const std::string ini = dir.Path() + "settings.ini";
  WriteFile(ini, "[Main]\r\nWidth=800\r\n");
  PaintedTexts panel(Widget<QLabel>("StatusPanel1"));
  FileHandOver handOver;
  auto dialog = CreateEntryDialog(form.get(), form->project(), handOver, 5, EntryMode::Add, -1);
  dialog->show();
  WhenModal([&](QWidget* modal) {
    auto* files = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(files, nullptr);
    files->setDirectory(QString::fromStdString(dir.Path()));
    files->selectFile("settings.ini");
    static_cast<QDialog*>(files)->accept();
  });
  Child<QPushButton>(dialog.get(), "Button1")->click();
  EXPECT_EQ(form->project().iniEntries.size(), 1u);
  EXPECT_TRUE(panel.texts.contains("Load...")) << panel.texts.join('|').toStdString();
  EXPECT_TRUE(panel.texts.contains("Load OK")) << panel.texts.join('|').toStdString();
  EXPECT_EQ(form->StatusText(1), "");
}

TEST_F(MainWindowFrameTest, NoColumnHeadingIsCutAtTheDefaultSize) {
  for (int page = 1; page <= app::kPageCount; ++page) {
    EntryListPanel* panel = form->PanelOfPage(page);
    if (!panel) continue;
    form->ShowPage(page);
    QApplication::processEvents();
    QTreeWidget* tree = panel->Tree();
    for (int c = 0; c < tree->columnCount(); ++c) {
      const QString heading = tree->headerItem()->text(c);
      EXPECT_GE(tree->header()->sectionSize(c), tree->header()->fontMetrics().horizontalAdvance(heading))
          << "page " << page << " column " << c << " " << heading.toStdString();
    }
  }
}

TEST_F(MainWindowFrameTest, AboutWindowLinkOpensTheMakersSite) {
  std::vector<QString> opened;
  Dialogs().openUrl = [&](const QUrl& url) {
    opened.push_back(url.toString());
    return true;
  };
  app::TAboutForm about("English", form.get());
  about.show();
  auto* link = about.findChild<QLabel*>("URLLabel");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->text(), app::HomePageAddress("English"));
  EXPECT_FALSE(about.findChild<QLabel*>("Label2")->text().isEmpty());  // the maker's notice
  EXPECT_FALSE(about.findChild<QLabel*>("Image1")->pixmap().isNull());
  EXPECT_TRUE(about.findChild<QLabel*>("Label3")->text().endsWith(QString::fromStdString(ProgramVersion())));
  QTest::mouseClick(link, Qt::LeftButton);
  EXPECT_EQ(opened, std::vector<QString>{app::HomePageAddress("English")});
  app::TAboutForm russian("Russian", form.get());
  EXPECT_EQ(russian.findChild<QLabel*>("URLLabel")->text(), app::HomePageAddress("Russian"));
}

TEST(SplashWindow, ShowsTheLogoWithTheBusyCursorAndStaysHiddenWithoutIt) {
  {
    app::TSplashForm splash;
    ASSERT_TRUE(splash.HasPicture());
    EXPECT_EQ(splash.size(), QSize(400, 200));  // Data/Logo.bmp
    splash.ShowNow();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  const std::string folder = ProgramFolder();
  SetProgramFolder("/nonexistent/");
  {
    app::TSplashForm splash;
    splash.ShowNow();
    EXPECT_FALSE(splash.HasPicture());
    EXPECT_FALSE(splash.isVisible());
  }
  SetProgramFolder(folder);
}

}  // namespace
}  // namespace bvq::test
