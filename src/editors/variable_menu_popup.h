#pragma once
// The variable menu of every variable button: the built-in variables most often typed and,
// after a separator, the project's user variables; a click inserts the name into the field
// at the caret, replacing a selection.
#include <QPoint>

#include "project/project.h"

class QLineEdit;
class QMenu;
class QWidget;

namespace bvq {

// A menu for `target`, built from the items of the shared variable menu after bringing its
// user-variable part in line with `variables` (the project's `registryVariables`). Actions
// are named as the items ("Var4", "AddVarMenu0"); the caller owns the menu.
QMenu* BuildVariableMenu(QWidget* parent, QLineEdit* target, const EntryList& variables);

// Pops the menu up at `globalPos` (the mouse position by default) for `target`.
void ShowVariableMenu(QLineEdit* target, const EntryList& variables);
void ShowVariableMenu(QLineEdit* target, const EntryList& variables, const QPoint& globalPos);

// Inserts `variable` into `target` as a menu click does: the selection is replaced, the
// field takes the focus and the caret goes right after the name.
void InsertVariableInto(QLineEdit* target, const QString& variable);

}  // namespace bvq
