#pragma once
// The tool bar pictures of the text editor, drawn at 20 by 20 pixels so that the window looks
// the same whatever icon theme the desktop has.
#include <QColor>
#include <QIcon>
#include <QString>

namespace bvq::app {

// A few letters in the given style (bold "B", italic "I" ...).
QIcon LetterIcon(const QString& letters, bool bold, bool italic, bool underline, bool strikeOut);
// Text lines aligned left, centred or right; with `marks`, a list with those marks.
QIcon LinesIcon(Qt::Alignment alignment, const QString& marks = {});
// The letter A over a bar of the colour.
QIcon ColorIcon(const QColor& color);
// Lines with an arrow that moves them in or out.
QIcon IndentIcon(bool inwards);
// Two sheets (copy) or a sheet on a clipboard (paste).
QIcon SheetsIcon(bool clipboard);

}  // namespace bvq::app
