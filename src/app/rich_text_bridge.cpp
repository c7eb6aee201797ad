#include "app/rich_text_bridge.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <algorithm>
#include <map>

namespace bvq::app {
namespace {

using rtf::Alignment;
using rtf::CharFormat;
using rtf::ListStyle;
using rtf::TabStop;

// What the widget's formats cannot say themselves, kept beside them so that it comes back.
constexpr int kCharsetProperty = QTextFormat::UserProperty + 1;         // a font's \fcharset
constexpr int kListFirstLineProperty = QTextFormat::UserProperty + 2;  // first-line indent of a list item
constexpr int kListStartProperty = QTextFormat::UserProperty + 3;      // number of a list's first item

qreal Pixels(int twips) { return static_cast<qreal>(twips) / kTwipsPerPixel; }
int Twips(qreal pixels) { return qRound(pixels * kTwipsPerPixel); }

QString WidgetText(const std::string& text) {
  QString shown = QString::fromUtf8(text);
  shown.replace(QChar('\n'), QChar(QChar::LineSeparator));
  return shown;
}

std::string ModelText(QString text) {
  text.replace(QChar(QChar::LineSeparator), QChar('\n'));
  text.remove(QChar(QChar::ObjectReplacementCharacter));
  return text.toStdString();
}

QTextCharFormat WidgetCharFormat(const CharFormat& f) {
  QTextCharFormat format;
  format.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(f.italic);
  format.setFontUnderline(f.underline);
  format.setFontStrikeOut(f.strikeOut);
  if (!f.fontName.empty()) format.setFontFamilies(QStringList{QString::fromStdString(f.fontName)});
  format.setFontPointSize(f.sizeHalfPoints / 2.0);
  if (f.color) format.setForeground(QColor(f.color->red, f.color->green, f.color->blue));
  if (f.fontCharset != rtf::kDefaultCharset) format.setProperty(kCharsetProperty, f.fontCharset);
  return format;
}

CharFormat ModelCharFormat(const QTextCharFormat& format, const QFont& defaultFont) {
  CharFormat f;
  f.bold = format.fontWeight() > QFont::Medium;
  f.italic = format.fontItalic();
  f.underline = format.fontUnderline();
  f.strikeOut = format.fontStrikeOut();
  const QStringList families = format.fontFamilies().toStringList();
  if (!families.isEmpty() && !families.front().isEmpty()) f.fontName = families.front().toStdString();
  const qreal points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : defaultFont.pointSizeF();
  f.sizeHalfPoints = std::max(1, qRound(points * 2));
  if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush) {
    const QColor c = format.foreground().color();
    f.color = rtf::Color{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue())};
  }
  if (format.hasProperty(kCharsetProperty)) f.fontCharset = format.intProperty(kCharsetProperty);
  return f;
}

constexpr std::pair<ListStyle, QTextListFormat::Style> kListStyles[] = {
    {ListStyle::Bullet, QTextListFormat::ListDisc},
    {ListStyle::Decimal, QTextListFormat::ListDecimal},
    {ListStyle::LowerLetter, QTextListFormat::ListLowerAlpha},
    {ListStyle::UpperLetter, QTextListFormat::ListUpperAlpha},
    {ListStyle::LowerRoman, QTextListFormat::ListLowerRoman},
    {ListStyle::UpperRoman, QTextListFormat::ListUpperRoman},
};

QTextListFormat::Style WidgetListStyle(ListStyle style) {
  for (const auto& [model, widget] : kListStyles)
    if (model == style) return widget;
  return QTextListFormat::ListDisc;
}

ListStyle ModelListStyle(QTextListFormat::Style style) {
  for (const auto& [model, widget] : kListStyles)
    if (widget == style) return model;
  // Circles and squares are bullets too.
  return ListStyle::Bullet;
}

constexpr std::pair<TabStop::Kind, QTextOption::TabType> kTabKinds[] = {
    {TabStop::Kind::Left, QTextOption::LeftTab},
    {TabStop::Kind::Centre, QTextOption::CenterTab},
    {TabStop::Kind::Right, QTextOption::RightTab},
    {TabStop::Kind::Decimal, QTextOption::DelimiterTab},
};

// The list level's share of a list item's left indent: one indent step per level.
int ListIndentTwips(int level) { return (level + 1) * kIndentStepTwips; }

QTextBlockFormat WidgetBlockFormat(const rtf::ParagraphFormat& p) {
  QTextBlockFormat format;
  switch (p.alignment) {
    case Alignment::Left: format.setAlignment(Qt::AlignLeft); break;
    case Alignment::Centre: format.setAlignment(Qt::AlignHCenter); break;
    case Alignment::Right: format.setAlignment(Qt::AlignRight); break;
    case Alignment::Justified: format.setAlignment(Qt::AlignJustify); break;
  }
  const bool listItem = p.list.style != ListStyle::None;
  // The widget draws a list item's mark in the list's own indent and has no room for a hanging
  // first line: only what goes beyond the list's indent is the block's, the first line waits.
  const int left = listItem ? std::max(0, p.leftIndentTwips - ListIndentTwips(p.list.level)) : p.leftIndentTwips;
  format.setLeftMargin(Pixels(left));
  format.setRightMargin(Pixels(p.rightIndentTwips));
  if (listItem) format.setProperty(kListFirstLineProperty, p.firstLineIndentTwips);
  else format.setTextIndent(Pixels(p.firstLineIndentTwips));
  QList<QTextOption::Tab> tabs;
  for (const TabStop& stop : p.tabStops) {
    for (const auto& [kind, type] : kTabKinds)
      if (kind == stop.kind)
        tabs.append(QTextOption::Tab(Pixels(stop.positionTwips), type, type == QTextOption::DelimiterTab ? QChar('.') : QChar()));
  }
  format.setTabPositions(tabs);
  return format;
}

rtf::ParagraphFormat ModelParagraphFormat(const QTextBlock& block) {
  const QTextBlockFormat format = block.blockFormat();
  rtf::ParagraphFormat p;
  const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask;
  if (horizontal & Qt::AlignHCenter) p.alignment = Alignment::Centre;
  else if (horizontal & (Qt::AlignRight | Qt::AlignTrailing)) p.alignment = Alignment::Right;
  else if (horizontal & Qt::AlignJustify) p.alignment = Alignment::Justified;
  p.leftIndentTwips = Twips(format.leftMargin());
  p.rightIndentTwips = Twips(format.rightMargin());
  p.firstLineIndentTwips = Twips(format.textIndent());
  for (const QTextOption::Tab& tab : format.tabPositions()) {
    TabStop stop{Twips(tab.position), TabStop::Kind::Left};
    for (const auto& [kind, type] : kTabKinds)
      if (type == tab.type) stop.kind = kind;
    p.tabStops.push_back(stop);
  }
  std::sort(p.tabStops.begin(), p.tabStops.end(),
            [](const TabStop& a, const TabStop& b) { return a.positionTwips < b.positionTwips; });
  if (const QTextList* list = block.textList()) {
    const QTextListFormat listFormat = list->format();
    p.list.style = ModelListStyle(listFormat.style());
    p.list.level = std::max(0, listFormat.indent() - 1);
    const int start = listFormat.hasProperty(kListStartProperty) ? listFormat.intProperty(kListStartProperty) : 1;
    p.list.number = p.list.style == ListStyle::Bullet ? 0 : start + list->itemNumber(block);
    p.leftIndentTwips += ListIndentTwips(p.list.level);
    p.firstLineIndentTwips = format.hasProperty(kListFirstLineProperty) ? format.intProperty(kListFirstLineProperty)
                                                                         : -kIndentStepTwips / 2;
  }
  return p;
}

}  // namespace

void ShowRichDocument(const rtf::RichDocument& document, QTextDocument& target) {
  target.clear();
  QFont font(QString::fromUtf8(rtf::kDefaultFontName));
  font.setPointSizeF(rtf::kDefaultFontSizeHalfPoints / 2.0);
  target.setDefaultFont(font);
  target.setIndentWidth(Pixels(kIndentStepTwips));
  QTextCursor cursor(&target);
  cursor.beginEditBlock();
  // The list each level continues: consecutive items of one style and level share a list.
  std::map<int, std::pair<QTextList*, rtf::ListMark>> openLists;
  bool first = true;
  for (const rtf::Paragraph& paragraph : document.paragraphs) {
    const QTextBlockFormat blockFormat = WidgetBlockFormat(paragraph.format);
    const QTextCharFormat firstFormat =
        WidgetCharFormat(paragraph.runs.empty() ? CharFormat{} : paragraph.runs.front().format);
    if (first) {
      cursor.setBlockFormat(blockFormat);
      cursor.setBlockCharFormat(firstFormat);
    } else {
      cursor.insertBlock(blockFormat, firstFormat);
    }
    first = false;
    const rtf::ListMark& mark = paragraph.format.list;
    if (mark.style == ListStyle::None) {
      openLists.clear();
    } else {
      openLists.erase(openLists.upper_bound(mark.level), openLists.end());
      auto open = openLists.find(mark.level);
      const bool continues = open != openLists.end() && open->second.second.style == mark.style &&
                             (mark.style == ListStyle::Bullet || mark.number == open->second.second.number + 1);
      if (continues) {
        open->second.first->add(cursor.block());
        open->second.second = mark;
      } else {
        QTextListFormat listFormat;
        listFormat.setStyle(WidgetListStyle(mark.style));
        listFormat.setIndent(mark.level + 1);
        if (mark.number > 1) listFormat.setProperty(kListStartProperty, mark.number);
        openLists[mark.level] = {cursor.createList(listFormat), mark};
      }
    }
    for (const rtf::Run& run : paragraph.runs) cursor.insertText(WidgetText(run.text), WidgetCharFormat(run.format));
  }
  cursor.endEditBlock();
  target.clearUndoRedoStacks();
}

rtf::RichDocument RichDocumentOf(const QTextDocument& source) {
  rtf::RichDocument document;
  const QFont defaultFont = source.defaultFont();
  for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
    rtf::Paragraph& paragraph = document.paragraphs.emplace_back();
    paragraph.format = ModelParagraphFormat(block);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.isValid())
        rtf::AppendText(paragraph, ModelText(fragment.text()), ModelCharFormat(fragment.charFormat(), defaultFont));
    }
  }
  return document;
}

}  // namespace bvq::app
