#pragma once
// One entry list of the main window (ListView1..ListView11) with its row of buttons: move up
// and down at the left; add, (add folder for the file list), copy, edit and delete at the
// right. The tree shows the project's rows; every action calls the core list rules and the
// entry dialogs, then shows the list again. The panel keeps a ListSelection in step with the
// tree's selection and current item.
#include <QString>
#include <QWidget>
#include <vector>

#include "project/file_entries.h"
#include "project/list_operations.h"
#include "project/project.h"

class QPushButton;
class QTreeWidget;

namespace bvq {

// The buttons under a list, by role.
enum class ListButton { Up, Down, Add, AddFolder, Copy, Edit, Delete };

class EntryListPanel : public QWidget {
  Q_OBJECT
 public:
  // listNumber 1..11 (ListView1..ListView11). The tree is named "ListView<n>", the buttons as
  // the main window names them ("Button22" adds to the file list).
  EntryListPanel(Project& project, int listNumber, FileHandOver& handOver, QWidget* parent = nullptr);
  ~EntryListPanel() override;

  int ListNumber() const { return listNumber_; }
  QTreeWidget* Tree() const { return tree_; }
  // nullptr for AddFolder on lists other than the file list.
  QPushButton* Button(ListButton role) const;
  const ListSelection& Selection() const { return selection_; }

  // Shows the model's rows again (after a load, a new project, rows added from outside); the
  // selection keeps what still exists.
  void Reload();
  // Sets the column headings from the interface strings (after a language switch).
  void ApplyHeadings();
  // "r:n" for the status bar.
  QString PositionText() const;

 public slots:
  void AddEntry();       // add button: the list's dialog in add mode
  void AddFolder();      // add-folder button of the file list
  void EditEntry();      // edit button, Enter, double click: only with a selected row
  void CopyEntry();      // duplicates the focused row at the end
  void DeleteEntries();  // deletes the selected rows
  void MoveUp();
  void MoveDown();

 signals:
  // The position text changed ("r:n"); `forced` when the list need not have the focus.
  void positionChanged(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  EntryList& List() const;
  void ReadSelectionFromTree();
  void WriteSelectionToTree();
  void ShowRows();
  void UpdateButtons();
  void AfterChange();

  Project& project_;
  int listNumber_;
  FileHandOver& handOver_;
  QTreeWidget* tree_ = nullptr;
  std::vector<QPushButton*> buttons_;  // by ListButton
  ListSelection selection_;
  std::vector<EntryRow> shown_;  // the rows as the tree shows them
  bool syncing_ = false;         // the panel itself is changing the tree or the model
  int listenerId_ = 0;
};

}  // namespace bvq
