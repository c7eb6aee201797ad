// The looks page's previews through the real widgets: dragging the four items stores their
// positions and marks the project modified, the reset buttons, the previews drawing what the
// settings say (gradient, colour buttons, silent grey), the preview button's rules and the
// full-screen background preview.
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "app/looks_previews.h"
#include "app_fixture.h"
#include "preview/looks_render.h"

namespace bvq::test {
namespace {

using preview::PreviewItem;

QColor At(const QImage& image, int x, int y) { return QColor::fromRgb(image.pixel(x, y)); }

class LooksPreviewsTest : public AppFixture {
 protected:
  // A new project with a header picture and a logo, opened in the window on the looks page.
  void OpenSample(const std::function<void(Project&)>& adjust = {}) {
    Project p = NewSampleProject();
    for (const char* name : {"header.png", "logo.png"}) {
      QImage picture(12, 8, QImage::Format_RGB32);
      picture.fill(QColor(0, 160, 0));
      ASSERT_TRUE(picture.save(QString::fromStdString(dir / name)));
    }
    p.showHeaderPicture = p.showLogo = true;
    p.headerPicture = dir / "header.png";
    p.logoPicture = dir / "logo.png";
    if (adjust) adjust(p);
    ASSERT_TRUE(form->LoadFile(SaveSample(p, "looks.bvq")));
    form->ShowPage(5);
  }
  Project& project() { return form->project(); }
  QImage Grab(const char* name) { return Widget<QWidget>(name)->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  // Mouse down on `item`, moves by each step (relative to where it went down), mouse up.
  static void Drag(QWidget* item, std::initializer_list<QPoint> steps) {
    const QPoint local(2, 2), global = item->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(item, &press);
    for (const QPoint& step : steps) {
      // While the item moves under it, the cursor's place in the item changes: only the
      // screen position counts.
      QMouseEvent move(QEvent::MouseMove, local + step, global + step, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(item, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, local, global + *(steps.end() - 1), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(item, &release);
  }
};

TEST_F(LooksPreviewsTest, DraggingEachItemStoresItsPositionAndMarksTheProjectModified) {
  OpenSample();
  for (PreviewItem item : preview::kAllItems) {
    const char* name = preview::ItemControlName(item);
    SCOPED_TRACE(name);
    QWidget* widget = Widget<QWidget>(name);
    ASSERT_FALSE(widget->isHidden());
    const PreviewPos start = project().*preview::ItemPosition(item);
    EXPECT_EQ(start, preview::DefaultItemPosition(item));
    form->session().modified = false;
    // Dragged beyond the panel's edge: no bounds, the position is kept as it is.
    Drag(widget, {QPoint(5, 3), QPoint(37, -15), QPoint(-600, 400)});
    const PreviewPos moved = project().*preview::ItemPosition(item);
    EXPECT_EQ(moved, (PreviewPos{start.Left - 600, start.Top + 400}));
    EXPECT_EQ(widget->pos(), QPoint(moved.Left, moved.Top));
    EXPECT_TRUE(form->session().modified);
    // After the mouse went up, moving over it drags nothing.
    QMouseEvent move(QEvent::MouseMove, QPoint(1, 1), widget->mapToGlobal(QPoint(40, 40)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    EXPECT_EQ(project().*preview::ItemPosition(item), moved);
  }

  // Pointing at a label brings it to the front on its grey background; leaving it clears that.
  auto* title = Widget<app::PreviewItemLabel>("Label22");
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(title, &leave);
  EXPECT_FALSE(title->Highlighted());
  Widget<QWidget>("Label23")->raise();
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(title->mapToGlobal(QPoint(1, 1))));
  QApplication::sendEvent(title, &enter);
  EXPECT_TRUE(title->Highlighted());
  EXPECT_EQ(title->parentWidget()->children().last(), title) << "in front";
  EXPECT_EQ(At(title->grab().toImage(), 0, 0), preview::kLabelHighlight);

  // Saved and loaded again, the positions come back.
  const Project dragged = project();
  ASSERT_TRUE(form->SaveFile(dir / "dragged.bvq"));
  ASSERT_TRUE(form->LoadFile(dir / "dragged.bvq"));
  for (PreviewItem item : preview::kAllItems) {
    EXPECT_EQ(project().*preview::ItemPosition(item), dragged.*preview::ItemPosition(item));
    EXPECT_EQ(Widget<QWidget>(preview::ItemControlName(item))->pos().x(), (dragged.*preview::ItemPosition(item)).Left);
  }

  // Button105 puts the header's three items back, Button106 the logo.
  form->session().modified = false;
  Widget<QPushButton>("Button105")->click();
  EXPECT_TRUE(form->session().modified);
  for (PreviewItem item : {PreviewItem::HeaderPicture, PreviewItem::HeaderTitle, PreviewItem::HeaderDescription})
    EXPECT_EQ(project().*preview::ItemPosition(item), preview::DefaultItemPosition(item));
  EXPECT_EQ(project().logoPicturePosition, dragged.logoPicturePosition);
  Widget<QPushButton>("Button106")->click();
  EXPECT_EQ(project().logoPicturePosition, (PreviewPos{1, 1}));
  EXPECT_EQ(Widget<QWidget>("Image2")->pos(), QPoint(1, 1));
}

TEST_F(LooksPreviewsTest, PreviewsShowWhatTheRenderedPicturesShowAndFollowTheSettings) {
  OpenSample([](Project& p) { p.headerGradient = false; });
  Widget<QTabWidget>("PageControl1")->setCurrentIndex(1);
  const QString title = Widget<QLabel>("Label22")->text(), description = Widget<QLabel>("Label23")->text();
  EXPECT_EQ(Grab("Panel4"), preview::RenderHeader(project(), title, description));
  EXPECT_EQ(Grab("Panel5"), preview::RenderLogo(project()));
  EXPECT_FALSE(Widget<QWidget>("Shape1")->isHidden()) << "cover over unused swatches";

  // The gradient switch and the colour buttons repaint the header.
  Widget<QCheckBox>("CheckBox10")->click();
  EXPECT_TRUE(Widget<QWidget>("Shape1")->isHidden());
  Dialogs().color = [](QWidget*, const QColor&) { return std::optional<QColor>(QColor(200, 10, 20)); };
  Widget<QToolButton>("ColorBtn3")->click();
  EXPECT_EQ(At(Grab("Panel4"), 1, 40), QColor(200, 10, 20));
  Dialogs().color = [](QWidget*, const QColor&) { return std::optional<QColor>(QColor(10, 20, 200)); };
  Widget<QToolButton>("ColorBtn4")->click();
  EXPECT_EQ(At(Grab("Panel4"), 300, 56), QColor(10, 20, 200));
  EXPECT_EQ(Grab("Panel4"), preview::RenderHeader(project(), title, description));

  // The picture switch shows and hides the picture.
  Widget<QCheckBox>("CheckBox26")->click();
  EXPECT_TRUE(Widget<QWidget>("Image1")->isHidden());
  Widget<QCheckBox>("CheckBox26")->click();
  EXPECT_FALSE(Widget<QWidget>("Image1")->isHidden());

  // Silent installation: both previews grey, every item hidden, the covers back.
  form->ShowPage(4);
  Widget<QCheckBox>("CheckBox43")->click();
  ASSERT_TRUE(project().silentInstall);
  form->ShowPage(5);
  for (const char* name : {"Image1", "Label22", "Label23", "Image2"})
    EXPECT_TRUE(Widget<QWidget>(name)->isHidden()) << name;
  EXPECT_FALSE(Widget<QWidget>("Shape1")->isHidden());
  const QImage header = Grab("Panel4"), logo = Grab("Panel5");
  EXPECT_EQ(At(header, 1, 40), preview::kButtonFace);
  EXPECT_EQ(At(header, 300, 30), preview::kButtonFace);
  EXPECT_EQ(At(logo, 10, 10), preview::kButtonFace);
  EXPECT_EQ(At(logo, 0, 10), QColor(Qt::black));
}

TEST_F(LooksPreviewsTest, PreviewButtonNeedsAGradientOrAnExistingPicture) {
  OpenSample([](Project& p) { p.showBackground = false; });
  QWidget* button = Widget<QWidget>("Button2");
  EXPECT_FALSE(button->isEnabled());
  Widget<QCheckBox>("CheckBox1")->click();
  Widget<QRadioButton>("RadioButton6")->click();
  EXPECT_TRUE(button->isEnabled()) << "gradient";
  EXPECT_TRUE(Widget<QWidget>("Shape3")->isHidden());
  Widget<QRadioButton>("RadioButton8")->click();
  EXPECT_FALSE(Widget<QRadioButton>("RadioButton6")->isChecked()) << "one kind of background at a time";
  EXPECT_FALSE(Widget<QWidget>("Shape3")->isHidden());
  Widget<QLineEdit>("LabeledEdit27")->setText(QString::fromStdString(dir / "missing.bmp"));
  EXPECT_FALSE(button->isEnabled()) << "picture file missing";
  Widget<QLineEdit>("LabeledEdit27")->setText(QString::fromStdString(dir / "logo.png"));
  EXPECT_TRUE(button->isEnabled()) << "picture file exists";
  Widget<QLineEdit>("LabeledEdit27")->setText(QString());
  EXPECT_FALSE(button->isEnabled()) << "name deleted";
}

TEST_F(LooksPreviewsTest, BackgroundPreviewOpensFullScreenAndClosesOnAKey) {
  OpenSample([](Project& p) {
    p.showBackground = p.backgroundIsGradient = true;
    p.backgroundGradientDirection = 0;
    p.backgroundGradientStart = 0x0000FF;  // red
    p.backgroundGradientEnd = 0xFF0000;    // blue
    p.backgroundTitle = "";
    p.backgroundCompany = "";
  });
  QImage shown;
  bool closed = false;
  QTimer::singleShot(0, [&] {
    QWidget* window = QApplication::activeModalWidget();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), "PreviewForm");
    EXPECT_EQ(window->size(), window->screen()->size());
    shown = window->grab().toImage();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(window, &key);
    closed = !window->isVisible();
  });
  Widget<QPushButton>("Button2")->click();
  EXPECT_TRUE(closed);
  ASSERT_FALSE(shown.isNull());
  EXPECT_EQ(At(shown, 0, 0), QColor(255, 0, 0));
  EXPECT_EQ(At(shown, shown.width() - 1, shown.height() - 1), QColor(0, 0, 255));
  EXPECT_TRUE(messages.empty());
}

TEST_F(LooksPreviewsTest, UnreadableBackgroundPictureIsReportedAndNoWindowOpens) {
  const std::string bad = dir / "bad.bmp";
  WriteFile(bad, "BM broken");
  OpenSample([&](Project& p) {
    p.showBackground = true;
    p.backgroundIsGradient = false;
    p.backgroundPicture = bad;
  });
  ASSERT_TRUE(Widget<QWidget>("Button2")->isEnabled());
  Widget<QPushButton>("Button2")->click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.contains("bad.bmp")) << messages[0].text.toStdString();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The looks page's header and logo tabs and the background preview as a user sees them; with
// BVQ_SCREENSHOTS set to a folder they are saved there (docs/looks-*.png come from here).
TEST_F(LooksPreviewsTest, LooksPageShowsTheRenderedPreviews) {
  QImage picture(48, 48, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(250, 190, 40));
    painter.setPen(QPen(QColor(120, 70, 0), 3));
    painter.drawEllipse(4, 4, 40, 40);
  }
  ASSERT_TRUE(picture.save(QString::fromStdString(dir / "sun.png")));
  OpenSample([&](Project& p) {
    p.productName = "Quill";
    p.headerGradient = true;
    p.headerGradientStart = 0x804000;  // dark blue
    p.headerGradientEnd = 0xFFFFFF;
    p.headerPicture = p.logoPicture = dir / "sun.png";
    p.logoPicturePosition = {59, 40};
    p.showBackground = p.backgroundIsGradient = true;
    p.backgroundGradientStart = 0x802000;
    p.backgroundGradientEnd = 0x000000;
    p.backgroundTitle = "%ProductName% Setup";
    p.backgroundTitleFont = {"DejaVu Sans", 28, 0xFFFFFF, 0, kFontBold | kFontItalic};
    p.backgroundCompany = "Inkwell Ltd.";
    p.backgroundCompanyFont = {"DejaVu Sans", 12, 0xC0C0C0, 0, 0};
  });
  form->resize(900, 640);
  const QString folder = qEnvironmentVariable("BVQ_SCREENSHOTS");
  auto shoot = [&](int tab, const char* name) {
    Widget<QTabWidget>("PageControl1")->setCurrentIndex(tab);
    const QImage shot = form->grab().toImage();
    if (!folder.isEmpty()) {
      EXPECT_TRUE(shot.save(folder + "/" + name)) << name;
    }
  };
  shoot(1, "looks-header.png");
  EXPECT_EQ(Grab("Panel4"), preview::RenderHeader(project(), Widget<QLabel>("Label22")->text(),
                                                   Widget<QLabel>("Label23")->text()));
  shoot(2, "looks-logo.png");
  EXPECT_EQ(Grab("Panel5"), preview::RenderLogo(project()));
  shoot(0, "looks-background.png");
  // The full-screen window that Button2 opens shows the composed background.
  QImage window;
  QTimer::singleShot(0, [&] {
    QWidget* preview = QApplication::activeModalWidget();
    ASSERT_NE(preview, nullptr);
    window = preview->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(preview, &click);
  });
  Widget<QPushButton>("Button2")->click();
  auto background = preview::RenderBackground(project(), window.size());
  ASSERT_TRUE(background) << background.error();
  EXPECT_EQ(window, *background);
  if (!folder.isEmpty()) {
    EXPECT_TRUE(window.save(folder + "/looks-background-preview.png"));
  }
  // A picture background: the gradient's swatches are covered.
  Widget<QRadioButton>("RadioButton8")->click();
  EXPECT_FALSE(Widget<QWidget>("Shape3")->isHidden());
  shoot(0, "looks-background-picture-mode.png");
}

}  // namespace
}  // namespace bvq::test
