#pragma once
// The working folder: where builds keep their work files.
#include <string>

#include "util/outcome.h"

namespace bvq {

// TempFolder() + "$bvq_inst-" + uid + "/".
std::string DefaultWorkFolder();

// Makes `folder` usable as the working folder: creates it with missing parents (the last
// component with mode 0700; an existing folder is tightened to 0700), and refuses it when it is a symbolic link or belongs to another
// account (a shared temporary folder must not let another account redirect the clean-up).
// Returns the folder with a trailing "/", or why it cannot be used.
Outcome<std::string> PrepareWorkFolder(const std::string& folder);

}  // namespace bvq
