#include "app/side_menu.h"

#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/window_icons.h"

namespace bvq::app {
namespace {

// Colours of the side menu.
const QColor kBackgroundTop(0x63, 0x75, 0xD6);
const QColor kBackgroundBottom(0x7B, 0xA2, 0xE7);
const QColor kTitleBand(0xC6, 0xD3, 0xF7);
const QColor kSectionBody(0xD6, 0xDF, 0xF7);
constexpr int kMargin = 12;        // between the frames and the panel's sides
constexpr int kTitleHeight = 25;   // the shaded band that holds a section's title
constexpr int kIconIndent = 24;    // the links' icons from the panel's left side

}  // namespace

SideMenu::SideMenu(QWidget* parent) : QWidget(parent) {
  setObjectName("PreMenuPanel");
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  column->setSpacing(0);
  auto section = [&](const char* name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setFixedHeight(kTitleHeight);
    label->setContentsMargins(8, 0, 8, 0);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    column->addWidget(label);
    return label;
  };
  for (int n = 1; n <= kPages; ++n) {
    if (n == 1) installerTitle_ = section("Label1");
    if (n == kInstallerPages + 1) {
      column->addSpacing(kMargin);
      uninstallerTitle_ = section("Label6");
    }
    auto* item = new QPushButton;
    item->setObjectName(QString("MenuItem%1").arg(n));
    item->setFlat(true);
    item->setIcon(PageIcon(n));
    item->setCursor(Qt::PointingHandCursor);
    item->setFocusPolicy(Qt::NoFocus);
    item->setStyleSheet(QString("QPushButton { text-align: left; padding: 3px 8px 3px %1px; border: none; }")
                            .arg(kIconIndent - kMargin));
    item->installEventFilter(this);
    connect(item, &QPushButton::clicked, this, [this, n] {
      if (n != current_) emit pageChosen(n);
    });
    items_[n - 1] = item;
    column->addWidget(item);
  }
  column->addStretch(1);
}

void SideMenu::SetCurrent(int n) {
  current_ = n;
  for (int i = 0; i < kPages; ++i) {
    QFont font = items_[i]->font();
    font.setBold(i == n - 1);
    font.setUnderline(false);
    items_[i]->setFont(font);
  }
}

bool SideMenu::eventFilter(QObject* watched, QEvent* event) {
  // A link other than the shown page's is underlined while the mouse is over it.
  if (event->type() == QEvent::Enter || event->type() == QEvent::Leave)
    for (int i = 0; i < kPages; ++i)
      if (items_[i] == watched && i != current_ - 1) {
        QFont font = items_[i]->font();
        font.setUnderline(event->type() == QEvent::Enter);
        items_[i]->setFont(font);
      }
  return QWidget::eventFilter(watched, event);
}

QRect SideMenu::SectionFrame(QLabel* title, QPushButton* last) const {
  const int top = title->geometry().top();
  const int bottom = last->geometry().bottom() + 6;
  return QRect(kMargin / 2, top, width() - kMargin, bottom - top);
}

void SideMenu::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient background(0, 0, 0, height() + 1);
  background.setColorAt(0, kBackgroundTop);
  background.setColorAt(1, kBackgroundBottom);
  painter.fillRect(rect(), background);
  for (const auto& [title, last] : {std::pair{installerTitle_, items_[kInstallerPages - 1]},
                                   std::pair{uninstallerTitle_, items_[kPages - 1]}}) {
    const QRect frame = SectionFrame(title, last);
    painter.fillRect(frame, kSectionBody);
    QLinearGradient band(frame.left(), 0, frame.right(), 0);
    band.setColorAt(0, kTitleBand);
    band.setColorAt(1, Qt::white);
    painter.fillRect(QRect(frame.left(), frame.top(), frame.width(), kTitleHeight), band);
    painter.setPen(Qt::white);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
  }
}

}  // namespace bvq::app
