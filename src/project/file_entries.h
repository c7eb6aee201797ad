#pragma once
// The rules of the file list's dialogs (`files`: source, destination, if exists, uninstall):
// the file entry dialog TAddFileForm, the add-folder button with the folder import dialog
// TAddFilesListForm, and the project-file picker TSelectFileForm. The windows hold their
// controls and call these functions; the functions never show anything.
//
// Destinations are paths on the target machine and use "\". Sources are paths on this machine
// as picked or typed ("/" here). Fields, rows and the hand-over values hold model text (the
// project's code page); folders passed in for listing are names on disk (UTF-8), and what the
// listing finds is converted into model text.
#include <string>
#include <vector>

#include "project/entry_dialog.h"
#include "project/project.h"
#include "util/strings.h"

namespace bvq {

// The process-wide values that carry data from the main window (a drop, the add-folder
// button) into the next file dialog. The application owns one.
struct FileHandOver {
  // Initial source and destination of the next file entry dialog; consumed when it is shown.
  std::string PresetSource, PresetTarget;
  // Items of the next folder import, parallel lists: the source path (interface string 26 for
  // a folder to create empty) and the destination relative to the chosen destination folder.
  TStrList ImportSources, ImportTargets;
};

// "%InstallPath%", the destination folder a new entry falls back to.
inline constexpr const char* kInstallPathVariable = "%InstallPath%";

// Items of the if-exists boxes: interface strings 234..238 (ask, ask if newer, replace,
// replace if newer, skip); item 2 (replace) is the default.
std::vector<std::string> IfExistsItems();
inline constexpr int kDefaultIfExistsItem = 2;
// Text of item `index`; the default item's text when the index is out of range.
std::string IfExistsText(int index);

// Target-side form of a path relative to a folder on this machine: "/" becomes "\".
std::string TargetRelativePath(std::string_view relative);

// ---------------------------------------------------------------------------------------
// File entry dialog (TAddFileForm)
// ---------------------------------------------------------------------------------------

struct FileEntryFields {
  std::string Source;                   // LabeledEdit1; several files joined with "|"
  std::string Destination;              // LabeledEdit2
  int IfExists = kDefaultIfExistsItem;  // ComboBox1: index into IfExistsItems()
  bool Uninstall = true;                // CheckBox1: remove on uninstall
  bool UninstallEnabled = true;         // only while the project creates an uninstaller
  bool operator==(const FileEntryFields&) const = default;
};

// Label of the destination field (LabeledEdit2) for a given source text: interface string 8
// while the source holds "|" (several files share one destination folder), otherwise
// interface string 91.
const std::string& FileDestinationLabel(const std::string& source);

// The fields as the dialog shows them: add mode the defaults (remove on uninstall unchecked
// when the project creates no uninstaller); edit mode the place's row (a source equal to
// interface string 26 shows as an empty source). A non-empty preset then replaces both
// edits; both presets are cleared in every case.
FileEntryFields ShowFileEntry(const Project& project, const EntryPlace& place, FileHandOver& handOver);

// Browse button: the files the user picked (several only in add mode). One file becomes the
// source and, when the destination is empty, fills it with "%InstallPath%\" + its name; several
// are joined with "|" and the destination keeps only its folder part. Returns true when the
// destination was filled and should take the focus. No picked file changes nothing.
bool BrowsedSources(FileEntryFields& fields, const TStrList& picked);

// OK: writes the row(s) (add mode: one row, or one per "|"-separated source; edit mode:
// overwrites the place's row) and marks the project modified. Empty fields are allowed: an
// empty source makes an empty-folder entry, an empty destination becomes "%InstallPath%".
EntryOutcome ApplyFileEntry(Project& project, const EntryPlace& place, const FileEntryFields& fields);

// ---------------------------------------------------------------------------------------
// Add folder (Button41) and folder import dialog (TAddFilesListForm)
// ---------------------------------------------------------------------------------------

// Appends to the import lists one item per path of the recursive listing of `folder` (files
// and empty sub-folders): source = the path, or interface string 26 for an empty folder;
// target = the path relative to `baseFolder`, written with "\". Returns the number added.
std::size_t AppendFolderImportItems(FileHandOver& handOver, const std::string& folder,
                                    const std::string& baseFolder);

// After the folder browser: fills the import lists from the chosen folder, targets relative
// to the folder itself. False (lists unchanged) when the listing is empty: nothing to import.
// Either way the window then shows the list position and marks the project modified.
bool PrepareFolderImport(const std::string& folder, FileHandOver& handOver);

struct FolderImportFields {
  std::string Destination = kInstallPathVariable;  // Edit1: destination folder
  int IfExists = kDefaultIfExistsItem;             // ComboBox1
  bool Uninstall = false;                          // CheckBox1: remove on uninstall
  bool UninstallEnabled = false;
  bool operator==(const FolderImportFields&) const = default;
};

// Defaults of the folder import dialog: remove on uninstall checked and enabled exactly when
// the project creates an uninstaller.
FolderImportFields ShowFolderImport(const Project& project);

// Rows of the dialog's list: the destination folder, a "\" unless it ends with a separator
// (added also to an empty folder), then the item's target.
TStrList FolderImportRows(const FileHandOver& handOver, const std::string& destinationFolder);

// OK: appends one `files` row per item, in order, then empties the import lists. Returns
// the number of rows added. The caller marks the project modified when the dialog closes.
std::size_t ApplyFolderImport(Project& project, FileHandOver& handOver, const FolderImportFields& fields);

// ---------------------------------------------------------------------------------------
// Project-file picker (TSelectFileForm)
// ---------------------------------------------------------------------------------------

// The destinations (sub-item 0) of all `files` rows, in list order, empty folders included.
TStrList ProjectFileChoices(const Project& project);

struct ProjectFilePick {
  std::string SelectedProjectFile;   // single mode
  TStrList SelectedProjectFiles;     // multiple mode
  bool operator==(const ProjectFilePick&) const = default;
};

// OK of the picker: `selectedRows` are the selected row indices (any order; invalid ones are
// ignored). Multiple mode: the paths of all selected rows in list order; single mode: the
// first selected row's path. Cancel is a default-constructed ProjectFilePick.
ProjectFilePick PickProjectFiles(const TStrList& choices, const std::vector<int>& selectedRows,
                                 bool allowMultipleSelection);

}  // namespace bvq
