#pragma once
// The side menu of the main window (PreMenuPanel): two sections, the installer's pages 1..12
// and the uninstaller's pages 13..16, each a framed panel with a title band over a gradient
// background; one link with its icon per page, the shown page's link bold.
#include <QWidget>
#include <array>

class QLabel;
class QPushButton;

namespace bvq::app {

class SideMenu : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kPages = 16;
  static constexpr int kInstallerPages = 12;

  explicit SideMenu(QWidget* parent = nullptr);
  // Makes page n's link bold and every other link plain.
  void SetCurrent(int n);
  QPushButton* Item(int n) const { return items_[n - 1]; }

 signals:
  void pageChosen(int n);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The framed area of a section: from its title to its last link.
  QRect SectionFrame(QLabel* title, QPushButton* last) const;

  std::array<QPushButton*, kPages> items_{};
  QLabel* installerTitle_ = nullptr;    // Label1
  QLabel* uninstallerTitle_ = nullptr;  // Label6
  int current_ = 1;
};

}  // namespace bvq::app
