#pragma once
// The previews of the looks page (Page5): the header preview (Panel4) with its movable
// picture, title and description, the logo preview (Panel5) with its movable picture, their
// reset buttons, the full-screen background preview behind Button2, and the grey covers over
// colour swatches that cannot be used. All drawing comes from preview/looks_render.h.
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPoint>
#include <QWidget>
#include <functional>

#include "preview/looks_render.h"

class QPushButton;

namespace bvq::app {

class SettingsBinder;

// The header preview with Button105 below it, and the logo preview with Button106.
QWidget* BuildHeaderPreview(SettingsBinder& b);
QWidget* BuildLogoPreview(SettingsBinder& b);
// Button2: opens the background preview, or says why the picture cannot be shown.
QPushButton* BuildBackgroundPreviewButton(SettingsBinder& b);
// A grey square named `name` over a colour button's swatch, shown by ApplyLooksRules.
QWidget* CoverSwatch(QWidget* colorButton, const char* name);

// The previews' part of the page rules: items placed at their stored positions and shown as
// the switches say, pictures reloaded, Button2 enabled, covers shown, previews repainted.
void ApplyLooksRules(QWidget* root, const Project& project);

// A paint box: draws what `compose` makes, in one step.
class PreviewPaintBox : public QWidget {
 public:
  PreviewPaintBox(const char* name, std::function<QImage()> compose, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  std::function<QImage()> compose_;
};

// One movable item of a preview (a label, so that the interface language can name it).
// Dragging it moves the stored position and marks the project modified; nothing bounds it.
class PreviewItemLabel : public QLabel {
 public:
  PreviewItemLabel(SettingsBinder& b, preview::PreviewItem item, QWidget* panel);
  // Takes the stored position and (for pictures) the file and transparency of the project.
  void Refresh();
  bool Highlighted() const { return highlighted_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  preview::ItemLook Look() const;
  bool IsText() const;

  SettingsBinder& binder_;
  preview::PreviewItem item_;
  preview::ItemLook picture_;
  QString pictureKey_;  // file, time and transparency the picture was loaded for
  bool dragging_ = false;
  bool highlighted_ = false;
  QPoint pressedAt_;    // cursor in screen coordinates when the drag began
  QPoint startedFrom_;  // the item's position then
};

// The full-screen background preview: the composed background under the texts; a click or
// any key closes it.
class BackgroundPreviewWindow : public QDialog {
 public:
  BackgroundPreviewWindow(QImage background, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override { accept(); }
  void keyPressEvent(QKeyEvent*) override { accept(); }

 private:
  QImage background_;
};

}  // namespace bvq::app
