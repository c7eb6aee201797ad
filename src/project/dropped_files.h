#pragma once
// Files and folders dropped on the main window: what goes into the hand-over values and which
// file dialog opens next. The window shows the file page first and, after the dialog, the
// position of the file list (and, after a folder import, marks the project modified).
#include "project/file_entries.h"
#include "util/strings.h"

namespace bvq {

struct DropDecision {
  enum Action {
    None,              // nothing usable was dropped (paths that no longer exist)
    OpenFileEntry,     // the file entry dialog in add mode, with the presets set
    OpenFolderImport,  // the folder import dialog, with the import lists filled
  };
  Action Next = None;
  bool operator==(const DropDecision&) const = default;
};

// `paths` are names on disk (UTF-8; stored converted to model text) in the order the drop
// delivers them. One file: presets (the path,
// "%InstallPath%\" + its name). One empty folder: presets ("", "%InstallPath%\" + its name).
// One folder with contents, or several paths: the import lists are refilled; a file gives
// (path, its name), a folder its files and empty sub-folders with targets relative to the
// folder's parent (so they begin with the folder's name, written with "\"), an empty folder
// (interface string 26, its name). Paths that are neither a regular file nor a folder are
// passed over.
DropDecision HandleDroppedFiles(const TStrList& paths, FileHandOver& handOver);

}  // namespace bvq
