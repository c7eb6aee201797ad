#pragma once
// The files a build reads and must never overwrite: the project file, every file the project
// names (sources, icons, pictures, licence and information texts) and the program folder's
// own files (stubs, side files, languages, icons and pictures). Files are told apart by device and inode,
// so no spelling of a path (links, "..", "\" for "/") gets past the check.
#include <sys/types.h>

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "project/project.h"

namespace bvq {

class BuildInputFiles {
 public:
  // Records the file `path` names, when it is an existing regular file; `what` describes it
  // for the refusal message.
  void Add(const std::string& path, const std::string& what);
  // Records the file a path stored in the project names (as ResolveProjectPath finds it),
  // with one look at the disk a reading: builds check every cell of lists of many thousand rows.
  void AddStored(const Project& project, std::string_view storedPath, const std::string& what);
  // Every regular file below `folder`.
  void AddFolder(const std::string& folder, const std::string& what);
  // Why `output` must not be written: it is a folder, not a regular file, or one of the
  // recorded files. Empty when it may be written.
  std::string Refusal(const std::string& output) const;

 private:
  std::vector<std::pair<std::pair<dev_t, ino_t>, std::string>> files_;
};

// The inputs of a build of `project`: the project file, the path of every text setting and
// of every cell of the entry lists that names an existing file (the setup path and volume
// name settings excepted), the `sources` of the payload and the program folder.
BuildInputFiles CollectBuildInputs(const Project& project, const std::vector<std::string>& sources);

}  // namespace bvq
