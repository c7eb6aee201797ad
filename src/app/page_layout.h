#pragma once
// Building blocks of the settings pages: a column of labelled fields and groups, and
// named pages, tabs and buttons.
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QString>
#include <QVBoxLayout>
#include <initializer_list>

class QPushButton;
class QTabWidget;
class QToolButton;
class QWidget;

namespace bvq::app {

// A page or tab: a column of groups and rows. Edits get a caption label named
// "<edit>Label" (the interface language gives it its text).
class Column {
 public:
  explicit Column(QWidget* w) : layout_(new QVBoxLayout(w)) {}

  // A labelled field; `caption` is shown until the interface language names the label.
  template <class W>
  W* Field(W* field, const QString& caption = {}, std::initializer_list<QWidget*> extras = {}) {
    auto* label = new QLabel(caption.isEmpty() ? field->objectName() : caption);
    label->setObjectName(field->objectName() + "Label");
    lastLabel_ = label;
    label->setBuddy(field);
    QWidget* shown = field;
    if (extras.size() > 0) {
      shown = new QWidget;
      auto* row = new QHBoxLayout(shown);
      row->setContentsMargins(0, 0, 0, 0);
      row->addWidget(field, 1);
      for (QWidget* extra : extras) row->addWidget(extra);
    }
    Form()->addRow(label, shown);
    return field;
  }
  template <class W>
  W* Add(W* w) {
    if (form_) form_->addRow(w);
    else layout_->addWidget(w);
    return w;
  }
  // Starts a titled group; later rows go into it.
  void Group(const QString& title);
  void End() { layout_->addStretch(1); }
  // The caption label of the last field.
  QLabel* LastLabel() const { return lastLabel_; }

 private:
  // The form rows go into: the current group, or a plain form started on demand.
  QFormLayout* Form();
  QVBoxLayout* layout_;
  QFormLayout* form_ = nullptr;
  QLabel* lastLabel_ = nullptr;
};

QWidget* NewPage(const char* name);
QWidget* NewTab(QTabWidget* tabs, const char* name);
QPushButton* NewButton(const char* name, const QString& text);
// A "..." or "%" button beside a field.
QToolButton* SideButton(const char* name, const QString& text);

}  // namespace bvq::app
