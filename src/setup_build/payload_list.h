#pragma once
// The files of the payload, in payload order: the position of a file is its number in the
// payload and in the installer script's file table.
#include <cstdint>
#include <string>
#include <vector>

#include "setup_build/build_log.h"
#include "project/project.h"

namespace bvq {

struct PackedFile {
  std::string source;  // path on this system
  std::string target;  // destination as entered (variables not yet substituted)
  int mode = 2;        // if the file exists: 0 ask, 1 ask if newer, 2 replace, 3 replace if newer, 4 skip
  bool uninstall = false;
};

struct PayloadList {
  std::vector<PackedFile> files;
  uint64_t totalSourceSize = 0;
};

// True when a `files` row is a folder-only entry (its source cell is interface string 26).
bool IsFolderOnlyEntry(const EntryRow& row);

// The mode digit of an if-exists cell: i for interface string 234 + i, otherwise 2.
int IfExistsMode(const std::string& cell);

// Collects the files of the project's `files` list in order, skipping folder-only entries and,
// with a warning line (interface string 112 + path), entries whose source file does not exist.
// When `uninstallerFile` is not empty (an uninstaller is created) it is appended last, with
// destination uninstallerFile of the project, mode 2 and the uninstall flag.
PayloadList CollectPayload(const Project& project, const std::string& uninstallerFile, BuildReporter& reporter);

// Adds a log line stamped with the current time.
void Log(BuildReporter& reporter, const std::string& text, LogIcon icon = LogIcon::Information);

}  // namespace bvq
