#include "preview/looks_render.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>
#include <type_traits>

#include "images/gradient.h"
#include "images/pictures.h"
#include "images/stretch_bitmap.h"
#include "project/project_paths.h"
#include "project/variables.h"
#include "setup_build/installer_script.h"
#include "util/code_page.h"

namespace bvq::preview {

namespace {

QColor FromWindowsColor(uint32_t color) {
  return QColor(images::ColorRed(color), images::ColorGreen(color), images::ColorBlue(color));
}

// A font as the installer's window makes it on a 96 pixels-per-inch screen.
QFont WindowsFont(const QString& family, int points, int style) {
  QFont font(family);
  font.setPixelSize(std::max(1, -FontHeight(points > 0 ? points : 8)));
  font.setBold(style & kFontBold);
  font.setItalic(style & kFontItalic);
  font.setUnderline(style & kFontUnderline);
  font.setStrikeOut(style & kFontStrikeOut);
  return font;
}

QString ProjectText(const std::string& ansi) { return QString::fromStdString(AnsiToUtf8(ansi)); }

// A framed area: black one-pixel frame around `fill`.
QImage FramedArea(QSize size, const QColor& fill) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.fillRect(QRect(QPoint(1, 1), size - QSize(2, 2)), fill);
  return image;
}

void DrawItems(QPainter& painter, const Project& project, std::initializer_list<std::pair<PreviewItem, ItemLook>> items) {
  for (const auto& [item, look] : items) {
    if (!ItemVisible(project, item)) continue;
    const PreviewPos& at = project.*ItemPosition(item);
    painter.save();
    painter.translate(at.Left, at.Top);
    PaintItem(painter, look);
    painter.restore();
  }
}

// Nearest integer, halves to the even neighbour.
int RoundHalfEven(double v) { return int(std::nearbyint(v)); }

}  // namespace

PreviewPos Project::*ItemPosition(PreviewItem item) {
  switch (item) {
    case PreviewItem::HeaderPicture: return &Project::headerPicturePosition;
    case PreviewItem::HeaderTitle: return &Project::headerTitlePosition;
    case PreviewItem::HeaderDescription: return &Project::headerDescriptionPosition;
    case PreviewItem::Logo: break;
  }
  return &Project::logoPicturePosition;
}

PreviewPos DefaultItemPosition(PreviewItem item) {
  switch (item) {
    case PreviewItem::HeaderPicture: return {WIZARD_HEADER_PICTURE_X, WIZARD_HEADER_PICTURE_Y};
    case PreviewItem::HeaderTitle: return {WIZARD_HEADER_TITLE_X, WIZARD_HEADER_TITLE_Y};
    case PreviewItem::HeaderDescription: return {WIZARD_HEADER_DESCRIPTION_X, WIZARD_HEADER_DESCRIPTION_Y};
    case PreviewItem::Logo: break;
  }
  return {WIZARD_LOGO_PICTURE_X, WIZARD_LOGO_PICTURE_Y};
}

bool ItemVisible(const Project& project, PreviewItem item) {
  if (project.silentInstall) return false;
  if (item == PreviewItem::HeaderPicture) return project.showHeaderPicture;
  if (item == PreviewItem::Logo) return project.showLogo;
  return true;
}

const char* ItemControlName(PreviewItem item) {
  switch (item) {
    case PreviewItem::HeaderPicture: return "Image1";
    case PreviewItem::HeaderTitle: return "Label22";
    case PreviewItem::HeaderDescription: return "Label23";
    case PreviewItem::Logo: break;
  }
  return "Image2";
}

QString DefaultItemText(PreviewItem item) {
  if (item == PreviewItem::HeaderTitle) return QStringLiteral("Title of the page");
  if (item == PreviewItem::HeaderDescription) return QStringLiteral("What the page is for");
  return {};
}

QSize ItemLook::Size() const {
  if (!isText) return picture.size();
  const QFontMetrics metrics(font);
  return QSize(metrics.horizontalAdvance(text), metrics.height());
}

ItemLook PictureLook(const Project& project, PreviewItem item) {
  const bool header = item == PreviewItem::HeaderPicture;
  const std::string& stored = header ? project.headerPicture : project.logoPicture;
  const bool transparent = header ? project.headerPictureTransparent : project.logoPictureTransparent;
  ItemLook look;
  if (stored.empty() || !ProjectFileExists(project, stored)) return look;
  auto decoded = images::LoadPicture(ResolveProjectPath(project, stored));
  if (!decoded || decoded->width == 0 || decoded->height == 0) return look;
  if (transparent) {
    // A picture with a transparent background leaves out the colour of its bottom-left pixel.
    images::RgbaImage& pixels = *decoded;
    const uint8_t* key = pixels.At(0, pixels.height - 1);
    const uint8_t k[3] = {key[0], key[1], key[2]};
    for (int y = 0; y < pixels.height; ++y)
      for (int x = 0; x < pixels.width; ++x) {
        uint8_t* p = pixels.At(x, y);
        if (p[0] == k[0] && p[1] == k[1] && p[2] == k[2]) p[3] = 0;
      }
  }
  look.picture = ToQImage(*decoded);
  return look;
}

ItemLook TextLook(PreviewItem item, const QString& text) {
  ItemLook look;
  look.isText = true;
  look.text = text;
  look.font = item == PreviewItem::HeaderTitle ? WindowsFont(QStringLiteral("Tahoma"), 8, kFontBold)
                                               : WindowsFont(QStringLiteral("Tahoma"), 8, 0);
  return look;
}

void PaintItem(QPainter& painter, const ItemLook& look, bool highlighted) {
  if (!look.isText) {
    if (!look.picture.isNull()) painter.drawImage(0, 0, look.picture);
    return;
  }
  const QSize size = look.Size();
  if (highlighted) painter.fillRect(QRect(QPoint(0, 0), size), kLabelHighlight);
  painter.setFont(look.font);
  painter.setPen(Qt::black);
  painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, look.text);
}

QImage ComposeHeaderBackdrop(const Project& project) {
  if (project.silentInstall) return FramedArea(kHeaderSize, kButtonFace);
  if (!project.headerGradient) return FramedArea(kHeaderSize, Qt::white);
  QImage image = FramedArea(kHeaderSize, FromWindowsColor(project.headerGradientEnd));
  const images::RgbImage gradient = images::CreateGradient(WIZARD_HEADER_GRADIENT_WIDTH, WIZARD_HEADER_GRADIENT_HEIGHT,
                                                           false, project.headerGradientStart,
                                                           project.headerGradientEnd);
  QPainter painter(&image);
  painter.drawImage(WIZARD_HEADER_FRAME, WIZARD_HEADER_FRAME, ToQImage(gradient));
  return image;
}

QImage ComposeLogoBackdrop(const Project& project) {
  return FramedArea(kLogoSize, project.silentInstall ? kButtonFace : QColor(Qt::white));
}

QImage RenderHeader(const Project& project, const QString& title, const QString& description) {
  QImage image = ComposeHeaderBackdrop(project);
  QPainter painter(&image);
  DrawItems(painter, project,
            {{PreviewItem::HeaderPicture, PictureLook(project, PreviewItem::HeaderPicture)},
             {PreviewItem::HeaderTitle, TextLook(PreviewItem::HeaderTitle, title)},
             {PreviewItem::HeaderDescription, TextLook(PreviewItem::HeaderDescription, description)}});
  return image;
}

QImage RenderLogo(const Project& project) {
  QImage image = ComposeLogoBackdrop(project);
  QPainter painter(&image);
  DrawItems(painter, project, {{PreviewItem::Logo, PictureLook(project, PreviewItem::Logo)}});
  return image;
}

Outcome<images::RgbImage> ComposeBackground(const Project& project, QSize size) {
  const int width = size.width(), height = size.height();
  if (project.backgroundIsGradient)
    return images::CreateGradient(width, height, project.backgroundGradientDirection == 0,
                                  project.backgroundGradientStart, project.backgroundGradientEnd);
  auto decoded = images::LoadPicture(ResolveProjectPath(project, project.backgroundPicture));
  if (!decoded) return decoded.status();
  const images::RgbImage picture = images::FlattenOnto(*decoded);
  images::RgbImage screen(width, height);  // black
  if (picture.width == 0 || picture.height == 0) return screen;
  auto copyAt = [&](int left, int top) {
    for (int y = std::max(0, top); y < std::min(height, top + picture.height); ++y) {
      const int x0 = std::max(0, left), x1 = std::min(width, left + picture.width);
      if (x1 <= x0) continue;
      std::copy_n(picture.At(x0 - left, y - top), size_t(x1 - x0) * 3, screen.At(x0, y));
    }
  };
  switch (project.backgroundPicturePlacement) {
    case 1:  // stretch
      images::StretchBitmap(picture, {0, 0, picture.width, picture.height}, screen, {0, 0, width, height});
      break;
    case 2:  // centre on black
      copyAt(RoundHalfEven((width - picture.width) / 2.0), RoundHalfEven((height - picture.height) / 2.0));
      break;
    default:  // fill: tiles from the top-left corner
      for (int top = 0; top < height; top += picture.height)
        for (int left = 0; left < width; left += picture.width) copyAt(left, top);
      break;
  }
  return screen;
}

void DrawBackgroundTexts(QPainter& painter, const Project& project, QSize size) {
  auto font = [](const FontSetting& f) { return WindowsFont(ProjectText(f.Name), f.Size, f.Style); };
  painter.save();
  const QString title = ProjectText(SubstituteVariables(project, project.backgroundTitle));
  painter.setFont(font(project.backgroundTitleFont));
  painter.setPen(FromWindowsColor(project.backgroundTitleFont.Color));
  painter.drawText(QRect(QPoint(20, 20), QFontMetrics(painter.font()).size(Qt::TextSingleLine, title)),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title);
  const QString company = ProjectText(SubstituteVariables(project, project.backgroundCompany));
  painter.setFont(font(project.backgroundCompanyFont));
  painter.setPen(FromWindowsColor(project.backgroundCompanyFont.Color));
  const QSize extent = QFontMetrics(painter.font()).size(Qt::TextSingleLine, company);
  painter.drawText(QRect(QPoint(size.width() - extent.width() - 16, size.height() - extent.height() - 12), extent),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, company);
  painter.restore();
}

Outcome<QImage> RenderBackground(const Project& project, QSize size) {
  auto composed = ComposeBackground(project, size);
  if (!composed) return composed.status();
  QImage image = ToQImage(*composed);
  QPainter painter(&image);
  DrawBackgroundTexts(painter, project, size);
  return image;
}

namespace {

// Copies a picture of 3 (RGB) or 4 (RGBA) bytes per pixel.
template <class Image>
QImage Converted(const Image& image, QImage::Format format) {
  if (image.width <= 0 || image.height <= 0) return {};
  constexpr bool kAlpha = std::is_same_v<Image, images::RgbaImage>;
  QImage out(image.width, image.height, format);
  for (int y = 0; y < image.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = image.At(x, y);
      line[x] = qRgba(p[0], p[1], p[2], kAlpha ? p[3] : 255);
    }
  }
  return out;
}

}  // namespace

QImage ToQImage(const images::RgbImage& image) { return Converted(image, QImage::Format_RGB32); }
QImage ToQImage(const images::RgbaImage& image) { return Converted(image, QImage::Format_ARGB32); }

}  // namespace bvq::preview
