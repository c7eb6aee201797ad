#include "app/splash_form.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>

#include "editors/qt_text.h"
#include "util/program_values.h"

namespace bvq::app {

TSplashForm::TSplashForm() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("SplashForm");
  QApplication::setOverrideCursor(Qt::WaitCursor);
  picture_.load(DiskToQ(ProgramFolder() + "Data/Logo.bmp"));
  if (!HasPicture()) return;
  setFixedSize(picture_.size());
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
}

TSplashForm::~TSplashForm() { QApplication::restoreOverrideCursor(); }

void TSplashForm::ShowNow() {
  if (!HasPicture()) return;
  show();
  repaint();
  QCoreApplication::processEvents();
}

void TSplashForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, picture_);
}

}  // namespace bvq::app
