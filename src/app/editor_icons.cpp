#include "app/editor_icons.h"

#include <QPainter>
#include <QPixmap>
#include <functional>

namespace bvq::app {
namespace {

constexpr int kSide = 20;

QIcon Drawn(const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  {
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::black, 2));
    draw(painter);
  }
  return QIcon(pixmap);
}

}  // namespace

QIcon LetterIcon(const QString& letters, bool bold, bool italic, bool underline, bool strikeOut) {
  return Drawn([&](QPainter& painter) {
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(15);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, kSide, kSide), Qt::AlignCenter, letters);
  });
}

QIcon LinesIcon(Qt::Alignment alignment, const QString& marks) {
  return Drawn([&](QPainter& painter) {
    const int widths[] = {16, 10, 14, 8};
    QFont font;
    font.setPixelSize(6);
    painter.setFont(font);
    for (int line = 0; line < 4; ++line) {
      const int y = 4 + line * 4;
      int width = widths[line], x = 2;
      if (!marks.isEmpty()) {
        painter.drawText(QRect(0, y - 3, 6, 6), Qt::AlignCenter, marks.mid(line % marks.size(), 1));
        x = 8;
        width = 10;
      } else if (alignment & Qt::AlignHCenter) {
        x = (kSide - width) / 2;
      } else if (alignment & Qt::AlignRight) {
        x = kSide - 2 - width;
      }
      painter.drawLine(x, y, x + width, y);
    }
  });
}

QIcon ColorIcon(const QColor& color) {
  return Drawn([&](QPainter& painter) {
    QFont font;
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, kSide, 15), Qt::AlignCenter, QStringLiteral("A"));
    painter.fillRect(QRect(2, 15, 16, 4), color);
  });
}

QIcon IndentIcon(bool inwards) {
  return Drawn([&](QPainter& painter) {
    for (int y : {3, 17}) painter.drawLine(2, y, 18, y);
    for (int y : {8, 12}) painter.drawLine(9, y, 18, y);
    QPolygon arrow;
    if (inwards) arrow << QPoint(2, 6) << QPoint(6, 10) << QPoint(2, 14);
    else arrow << QPoint(6, 6) << QPoint(2, 10) << QPoint(6, 14);
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow);
  });
}

QIcon SheetsIcon(bool clipboard) {
  return Drawn([&](QPainter& painter) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    if (clipboard) {
      painter.setBrush(QColor(200, 160, 100));
      painter.drawRect(3, 3, 12, 15);
      painter.setBrush(Qt::white);
      painter.drawRect(7, 7, 10, 12);
      painter.setBrush(Qt::gray);
      painter.drawRect(6, 1, 6, 3);
    } else {
      painter.drawRect(2, 2, 10, 12);
      painter.drawRect(7, 6, 10, 12);
    }
  });
}

}  // namespace bvq::app
