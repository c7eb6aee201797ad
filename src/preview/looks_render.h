#pragma once
// The installer's looks as pictures: the full-screen background (gradient or picture, with the
// title and company texts), the header strip and the logo with their movable items. The main
// window's previews paint with these functions and `--render-preview` saves their results.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <string>

#include "images/pixels.h"
#include "project/project.h"
#include "util/outcome.h"
#include "wizard_geometry.h"

class QPainter;

namespace bvq::preview {

inline constexpr QSize kHeaderSize{WIZARD_HEADER_WIDTH, WIZARD_HEADER_HEIGHT};
inline constexpr QSize kLogoSize{WIZARD_LOGO_WIDTH, WIZARD_LOGO_HEIGHT};
// The background picture of `--render-preview`: a common screen size.
inline constexpr QSize kRenderedScreenSize{1024, 768};

// Fill of the small previews while the installation is silent (no wizard is shown).
inline const QColor kButtonFace{240, 240, 240};
// Background of a header label while it is pointed at or dragged.
inline const QColor kLabelHighlight{160, 160, 164};

// The four items the author can move.
enum class PreviewItem { HeaderPicture = 1, HeaderTitle = 2, HeaderDescription = 3, Logo = 4 };
inline constexpr PreviewItem kAllItems[] = {PreviewItem::HeaderPicture, PreviewItem::HeaderTitle,
                                            PreviewItem::HeaderDescription, PreviewItem::Logo};

// The project member holding the item's position, and its default position.
PreviewPos Project::*ItemPosition(PreviewItem item);
PreviewPos DefaultItemPosition(PreviewItem item);
// Whether the item shows: the pictures while their switches are on, nothing while silent.
bool ItemVisible(const Project& project, PreviewItem item);
// The control that shows the item in the main window (Image1, Label22, Label23, Image2).
const char* ItemControlName(PreviewItem item);

// Sample texts of the header labels, shown until the interface language names them.
QString DefaultItemText(PreviewItem item);

// What an item shows: a picture (with its alpha) or a one-line text.
struct ItemLook {
  QImage picture;  // empty for a missing or unreadable file
  QString text;
  QFont font;
  bool isText = false;
  QSize Size() const;
};
// The picture item of the header or logo: the file after "%CURRENT_PATH%" is expanded; with
// the transparency switch on, pixels of the colour of the bottom-left pixel are left out.
// Empty when the file is missing or cannot be read.
ItemLook PictureLook(const Project& project, PreviewItem item);
// A header label with its caption.
ItemLook TextLook(PreviewItem item, const QString& text);
// Draws the look with its top-left corner at (0, 0); `highlighted` fills a label's box first.
void PaintItem(QPainter& painter, const ItemLook& look, bool highlighted = false);

// The header strip behind its items: a one-pixel black frame around white, or the gradient
// from the left edge and its end colour beyond; plain button face while silent.
QImage ComposeHeaderBackdrop(const Project& project);
// The logo area behind its picture: framed white, or framed button face while silent.
QImage ComposeLogoBackdrop(const Project& project);

// Backdrop plus the visible items at their stored positions (clipped to the area).
QImage RenderHeader(const Project& project, const QString& title = DefaultItemText(PreviewItem::HeaderTitle),
                    const QString& description = DefaultItemText(PreviewItem::HeaderDescription));
QImage RenderLogo(const Project& project);

// The background of a screen of `size`: the gradient, or the picture filled (tiled from the
// top-left corner), stretched or centred on black. A picture that cannot be read gives the
// picture reader's message.
Outcome<images::RgbImage> ComposeBackground(const Project& project, QSize size);
// The title at (20, 20) and the company text at the bottom right, with their fonts, the
// product, version and company variables replaced by the project's values.
void DrawBackgroundTexts(QPainter& painter, const Project& project, QSize size);
// Both.
Outcome<QImage> RenderBackground(const Project& project, QSize size);

// A copy of an RGB or RGBA picture as a QImage.
QImage ToQImage(const images::RgbImage& image);
QImage ToQImage(const images::RgbaImage& image);

}  // namespace bvq::preview
