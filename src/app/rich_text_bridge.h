#pragma once
// The one place where the editor's text widget and the rich-text document model meet: a
// paragraph is a text block, a run a fragment with its character format, a list mark a text
// list of that style and level. Indents and tab stops are twips in the model and pixels in the
// widget (15 twips to the pixel, 96 pixels to the inch).
#include "rtf/rich_text.h"

class QTextDocument;

namespace bvq::app {

// Twips per pixel of the text widget.
inline constexpr int kTwipsPerPixel = 15;
// The widget's indent step for one list level and for the indent buttons: half an inch.
inline constexpr int kIndentStepTwips = 720;

// Replaces the widget document's content by `document` (its default font becomes the model's
// default font and size).
void ShowRichDocument(const rtf::RichDocument& document, QTextDocument& target);
// The widget document's content as a model document.
rtf::RichDocument RichDocumentOf(const QTextDocument& source);

}  // namespace bvq::app
