#pragma once
// The about window (TAboutForm): program name and version, the date of the program file, the
// maker's web address (a link), the maker's notice and the program's picture.
#include <QDialog>
#include <string>

namespace bvq::app {

class TAboutForm : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutForm(const std::string& interfaceLanguage, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowLinkHovered(bool hovered);
};

}  // namespace bvq::app
