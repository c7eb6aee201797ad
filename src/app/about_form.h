#pragma once
// The about window (TAboutForm): program name, version and the date of the program file.
#include <QDialog>

namespace bvq::app {

class TAboutForm : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutForm(QWidget* parent = nullptr);
};

}  // namespace bvq::app
