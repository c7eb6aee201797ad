#include "app/page_layout.h"

#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace bvq::app {

void Column::Group(const QString& title) {
  auto* box = new QGroupBox(title);
  layout_->addWidget(box);
  form_ = new QFormLayout(box);
}

QFormLayout* Column::Form() {
  if (!form_) {
    auto* holder = new QWidget;
    form_ = new QFormLayout(holder);
    form_->setContentsMargins(0, 0, 0, 0);
    layout_->addWidget(holder);
  }
  return form_;
}

QWidget* NewPage(const char* name) {
  auto* page = new QWidget;
  page->setObjectName(name);
  return page;
}

QWidget* NewTab(QTabWidget* tabs, const char* name) {
  auto* tab = new QWidget;
  tab->setObjectName(name);
  tabs->addTab(tab, name);
  return tab;
}

QPushButton* NewButton(const char* name, const QString& text) {
  auto* button = new QPushButton(text);
  button->setObjectName(name);
  return button;
}

QToolButton* SideButton(const char* name, const QString& text) {
  auto* button = new QToolButton;
  button->setObjectName(name);
  button->setText(text);
  return button;
}

}  // namespace bvq::app
