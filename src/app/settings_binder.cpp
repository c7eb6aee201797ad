#include "app/settings_binder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "editors/qt_text.h"

namespace bvq::app {

SettingsBinder::SettingsBinder(Project& project, QObject* parent) : QObject(parent), project_(project) {}

void SettingsBinder::Edited(const QString& name) {
  if (Loading()) return;
  project_.MarkModified();
  if (afterEdit) afterEdit(name);
}

void SettingsBinder::Silently(const std::function<void()>& f) {
  ++loading_;
  f();
  --loading_;
}

QLineEdit* SettingsBinder::Text(const char* name, std::string Project::*member) {
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  const QString objectName = edit->objectName();
  connect(edit, &QLineEdit::textChanged, this, [this, member, objectName](const QString& text) {
    if (Loading()) return;
    project_.*member = FromQ(text);
    Edited(objectName);
  });
  AddLoader([this, edit, member] {
    // Rewriting an unchanged text would move the cursor of the field being edited.
    const QString shown = ToQ(project_.*member);
    if (edit->text() != shown) edit->setText(shown);
  });
  return edit;
}

QCheckBox* SettingsBinder::Flag(const char* name, bool Project::*member) {
  auto* box = new QCheckBox;
  box->setObjectName(name);
  const QString objectName = box->objectName();
  connect(box, &QCheckBox::toggled, this, [this, member, objectName](bool checked) {
    if (Loading()) return;
    project_.*member = checked;
    Edited(objectName);
  });
  AddLoader([this, box, member] { box->setChecked(project_.*member); });
  return box;
}

QRadioButton* SettingsBinder::Choice(const char* name, bool Project::*member, bool whenChecked) {
  auto* radio = new QRadioButton;
  radio->setObjectName(name);
  const QString objectName = radio->objectName();
  connect(radio, &QRadioButton::toggled, this, [this, member, whenChecked, objectName](bool checked) {
    if (Loading() || !checked) return;
    project_.*member = whenChecked;
    Edited(objectName);
  });
  AddLoader([this, radio, member, whenChecked] { radio->setChecked(project_.*member == whenChecked); });
  return radio;
}

QComboBox* SettingsBinder::Index(const char* name, int Project::*member, int itemCount) {
  auto* combo = new QComboBox;
  combo->setObjectName(name);
  for (int i = 0; i < itemCount; ++i) combo->addItem(QString::number(i));
  const QString objectName = combo->objectName();
  connect(combo, &QComboBox::currentIndexChanged, this, [this, member, objectName](int index) {
    if (Loading() || index < 0) return;
    project_.*member = index;
    Edited(objectName);
  });
  AddLoader([this, combo, member] {
    const int index = project_.*member;
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
  });
  return combo;
}

QSpinBox* SettingsBinder::Number(const char* name, int Project::*member, int minimum, int maximum) {
  auto* spin = new QSpinBox;
  spin->setObjectName(name);
  spin->setRange(minimum, maximum);
  spin->setGroupSeparatorShown(false);
  const QString objectName = spin->objectName();
  connect(spin, &QSpinBox::valueChanged, this, [this, member, objectName](int value) {
    if (Loading()) return;
    project_.*member = value;
    Edited(objectName);
  });
  AddLoader([this, spin, member] { spin->setValue(project_.*member); });
  return spin;
}

void SettingsBinder::AddLoader(std::function<void()> load) { loaders_.push_back(std::move(load)); }

void SettingsBinder::LoadAll() {
  ++loading_;
  for (const auto& load : loaders_) load();
  --loading_;
}

}  // namespace bvq::app
