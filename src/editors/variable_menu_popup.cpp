#include "editors/variable_menu_popup.h"

#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

#include "editors/qt_text.h"
#include "project/variable_menu.h"

namespace bvq {

namespace {

// The one variable menu of the program: its user-variable items grow as rows are served.
VariableMenu& SharedMenu() {
  static VariableMenu menu;
  return menu;
}

// Menu captions are used as written: "&" would otherwise become an accelerator.
QString MenuCaption(const QString& caption) {
  QString text = caption;
  return text.replace("&", "&&");
}

}  // namespace

void InsertVariableInto(QLineEdit* target, const QString& variable) {
  if (!target) return;
  const QString text = target->text();
  int start = target->cursorPosition();
  int length = 0;
  if (target->hasSelectedText()) {
    start = target->selectionStart();
    length = static_cast<int>(target->selectedText().size());
  }
  // The rule counts bytes of the project text; characters and bytes correspond one to one
  // in a single-byte code page, but measure through the conversion to stay exact.
  const std::size_t byteStart = FromQ(text.left(start)).size();
  const std::size_t byteLength = FromQ(text.mid(start, length)).size();
  const InsertedVariable result = InsertVariable(FromQ(text), byteStart, byteLength, FromQ(variable));
  const QString newText = ToQ(result.Text);
  target->setText(newText);
  target->setFocus(Qt::OtherFocusReason);
  target->setCursorPosition(static_cast<int>(ToQ(result.Text.substr(0, result.Caret)).size()));
}

QMenu* BuildVariableMenu(QWidget* parent, QLineEdit* target, const EntryList& variables) {
  VariableMenu& model = SharedMenu();
  model.Update(variables);
  auto* menu = new QMenu(parent);
  menu->setObjectName("PopupMenu2");
  QPointer<QLineEdit> field(target);
  for (const VariableMenuItem& item : model.Items()) {
    if (item.Separator) {
      QAction* separator = menu->addSeparator();
      separator->setObjectName(QString::fromStdString(item.Name));
      continue;
    }
    const QString caption = ToQ(item.Caption);
    QAction* action = menu->addAction(MenuCaption(caption));
    action->setObjectName(QString::fromStdString(item.Name));
    QObject::connect(action, &QAction::triggered, menu, [field, caption] {
      if (field) InsertVariableInto(field, caption);
    });
  }
  return menu;
}

void ShowVariableMenu(QLineEdit* target, const EntryList& variables) {
  ShowVariableMenu(target, variables, QCursor::pos());
}

void ShowVariableMenu(QLineEdit* target, const EntryList& variables, const QPoint& globalPos) {
  QMenu* menu = BuildVariableMenu(target, target, variables);
  menu->exec(globalPos);
  menu->deleteLater();
}

}  // namespace bvq
