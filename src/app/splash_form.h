#pragma once
// The splash window (TSplashForm): the picture Data/Logo.bmp of the program folder, borderless
// and centred on the screen, with the busy cursor while it exists. Without the picture the
// window stays hidden and start-up goes on without it.
#include <QPixmap>
#include <QWidget>

namespace bvq::app {

class TSplashForm : public QWidget {
  Q_OBJECT
 public:
  TSplashForm();
  ~TSplashForm() override;

  // False when the picture could not be read.
  bool HasPicture() const { return !picture_.isNull(); }
  // Shows the window (when it has its picture) and paints it at once.
  void ShowNow();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

}  // namespace bvq::app
