#include "app/looks_previews.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "editors/app_dialogs.h"
#include "app/settings_binder.h"
#include "project/project_paths.h"
#include "util/strings.h"

namespace bvq::app {

using preview::PreviewItem;

namespace {

// A preview panel of fixed size holding its paint box; the items are its children above it.
QWidget* NewPanel(const char* name, QSize size) {
  auto* panel = new QWidget;
  panel->setObjectName(name);
  panel->setFixedSize(size);
  panel->setAttribute(Qt::WA_OpaquePaintEvent);
  return panel;
}

QPushButton* ResetButton(SettingsBinder& b, const char* name, QWidget* panel,
                         std::initializer_list<PreviewItem> items) {
  auto* button = new QPushButton;
  button->setObjectName(name);
  button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  std::vector<PreviewItem> reset(items);
  Project& project = b.project();
  QObject::connect(button, &QPushButton::clicked, panel, [&b, &project, reset, button] {
    for (PreviewItem item : reset) project.*preview::ItemPosition(item) = preview::DefaultItemPosition(item);
    b.Edited(button->objectName());
  });
  return button;
}

// The panel with the reset button under its right end.
QWidget* PanelWithButton(QWidget* panel, QPushButton* button) {
  auto* holder = new QWidget;
  auto* column = new QVBoxLayout(holder);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(panel, 0, Qt::AlignLeft);
  auto* row = new QHBoxLayout;
  row->addWidget(button);
  row->addStretch(1);
  column->addLayout(row);
  return holder;
}

bool BackgroundPreviewPossible(const Project& p) {
  if (!p.showBackground || p.silentInstall) return false;
  return p.backgroundIsGradient || ProjectFileExists(p, p.backgroundPicture);
}

}  // namespace

PreviewPaintBox::PreviewPaintBox(const char* name, std::function<QImage()> compose, QWidget* parent)
    : QWidget(parent), compose_(std::move(compose)) {
  setObjectName(name);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewPaintBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, compose_());
}

PreviewItemLabel::PreviewItemLabel(SettingsBinder& b, PreviewItem item, QWidget* panel)
    : QLabel(panel), binder_(b), item_(item) {
  setObjectName(preview::ItemControlName(item));
  if (IsText()) setText(preview::DefaultItemText(item));
  setCursor(Qt::SizeAllCursor);
  Refresh();
}

bool PreviewItemLabel::IsText() const {
  return item_ == PreviewItem::HeaderTitle || item_ == PreviewItem::HeaderDescription;
}

preview::ItemLook PreviewItemLabel::Look() const {
  return IsText() ? preview::TextLook(item_, text()) : picture_;
}

void PreviewItemLabel::Refresh() {
  const Project& project = binder_.project();
  if (!IsText()) {
    // Reload the picture only when its file, its time or the transparency changed.
    const bool header = item_ == PreviewItem::HeaderPicture;
    const std::string& stored = header ? project.headerPicture : project.logoPicture;
    const QFileInfo file(QString::fromStdString(ResolveProjectPath(project, stored)));
    const bool transparent = header ? project.headerPictureTransparent : project.logoPictureTransparent;
    const QString key = file.absoluteFilePath() + '|' + file.lastModified().toString(Qt::ISODateWithMs) + '|' +
                        QString::number(file.size()) + (transparent ? "|t" : "|o");
    if (key != pictureKey_) {
      pictureKey_ = key;
      picture_ = preview::PictureLook(project, item_);
    }
  }
  const PreviewPos& at = project.*preview::ItemPosition(item_);
  move(at.Left, at.Top);
  resize(Look().Size());
  setVisible(preview::ItemVisible(project, item_));
  update();
}

void PreviewItemLabel::paintEvent(QPaintEvent*) {
  const preview::ItemLook look = Look();
  if (look.Size() != size()) resize(look.Size());  // a new caption from the interface language
  QPainter painter(this);
  preview::PaintItem(painter, look, highlighted_);
}

void PreviewItemLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  pressedAt_ = event->globalPosition().toPoint();
  startedFrom_ = pos();
}

void PreviewItemLabel::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPoint to = startedFrom_ + (event->globalPosition().toPoint() - pressedAt_);
  binder_.project().*preview::ItemPosition(item_) = PreviewPos{to.x(), to.y()};
  move(to);
  if (IsText()) highlighted_ = true;
  binder_.Edited(objectName());
}

void PreviewItemLabel::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void PreviewItemLabel::enterEvent(QEnterEvent*) {
  if (!IsText()) return;
  raise();
  highlighted_ = true;
  update();
}

void PreviewItemLabel::leaveEvent(QEvent*) {
  if (!IsText()) return;
  highlighted_ = false;
  update();
}

BackgroundPreviewWindow::BackgroundPreviewWindow(QImage background, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), background_(std::move(background)) {
  setObjectName("PreviewForm");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setGeometry(QRect(QPoint(0, 0), background_.size()));
}

void BackgroundPreviewWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, background_);
}

QWidget* BuildHeaderPreview(SettingsBinder& b) {
  QWidget* panel = NewPanel("Panel4", preview::kHeaderSize);
  const Project& project = b.project();
  auto* box = new PreviewPaintBox("PaintBox1", [&project] { return preview::ComposeHeaderBackdrop(project); }, panel);
  box->setGeometry(QRect(QPoint(0, 0), preview::kHeaderSize));
  for (PreviewItem item : {PreviewItem::HeaderPicture, PreviewItem::HeaderTitle, PreviewItem::HeaderDescription})
    new PreviewItemLabel(b, item, panel);
  return PanelWithButton(panel, ResetButton(b, "Button105", panel,
                                            {PreviewItem::HeaderPicture, PreviewItem::HeaderTitle,
                                             PreviewItem::HeaderDescription}));
}

QWidget* BuildLogoPreview(SettingsBinder& b) {
  QWidget* panel = NewPanel("Panel5", preview::kLogoSize);
  const Project& project = b.project();
  auto* box = new PreviewPaintBox("PaintBox2", [&project] { return preview::ComposeLogoBackdrop(project); }, panel);
  box->setGeometry(QRect(QPoint(0, 0), preview::kLogoSize));
  new PreviewItemLabel(b, PreviewItem::Logo, panel);
  return PanelWithButton(panel, ResetButton(b, "Button106", panel, {PreviewItem::Logo}));
}

QPushButton* BuildBackgroundPreviewButton(SettingsBinder& b) {
  auto* button = new QPushButton;
  button->setObjectName("Button2");
  button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  const Project& project = b.project();
  QObject::connect(button, &QPushButton::clicked, button, [&project, button] {
    QScreen* screen = button->screen() ? button->screen() : QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : preview::kRenderedScreenSize;
    auto background = preview::RenderBackground(project, size);
    if (!background) {
      ShowMessage(button->window(), QMessageBox::Critical, QString::fromUtf8(kProgramName),
                  QString::fromStdString(background.error()));
      return;
    }
    BackgroundPreviewWindow window(std::move(*background), button->window());
    window.exec();
  });
  return button;
}

QWidget* CoverSwatch(QWidget* colorButton, const char* name) {
  auto* cover = new QWidget(colorButton);
  cover->setObjectName(name);
  cover->setAutoFillBackground(true);
  QPalette palette = cover->palette();
  palette.setColor(QPalette::Window, QColor(192, 192, 192));
  cover->setPalette(palette);
  auto* layout = new QHBoxLayout(colorButton);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(cover);
  cover->hide();
  return cover;
}

void ApplyLooksRules(QWidget* root, const Project& p) {
  for (PreviewItem item : preview::kAllItems)
    if (auto* label = root->findChild<PreviewItemLabel*>(preview::ItemControlName(item))) label->Refresh();
  if (auto* button = root->findChild<QWidget*>("Button2")) button->setEnabled(BackgroundPreviewPossible(p));
  const bool headerColoursUnused = !p.headerGradient || p.silentInstall;
  const bool backgroundColoursUnused = !(p.showBackground && p.backgroundIsGradient && !p.silentInstall);
  for (const char* name : {"Shape1", "Shape2"})
    if (auto* cover = root->findChild<QWidget*>(name)) cover->setVisible(headerColoursUnused);
  for (const char* name : {"Shape3", "Shape4"})
    if (auto* cover = root->findChild<QWidget*>(name)) cover->setVisible(backgroundColoursUnused);
  for (const char* name : {"PaintBox1", "PaintBox2"})
    if (auto* box = root->findChild<QWidget*>(name)) box->update();
}

}  // namespace bvq::app
