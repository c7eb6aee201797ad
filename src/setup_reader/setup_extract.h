#pragma once
// `--extract`: writes every payload file of a setup below a folder, at its destination path.
// A variable becomes a folder named after it (%InstallPath%\bin\a.txt -> InstallPath/bin/a.txt).
// Nothing is ever written outside the folder: destinations with "..", absolute paths, drive
// letters or device names are refused, folders that are links are not followed, and each file
// is written under a temporary name and renamed into place once complete.
#include <string>
#include <vector>

#include "setup_reader/setup_reader.h"

namespace bvq {

// The relative path (with "/") a destination is extracted to, or "" with `why` set when the
// destination is refused.
std::string ExtractionPath(const std::string& destination, std::string& why);

struct ExtractResult {
  size_t written = 0;
  std::vector<std::string> refusals;  // one line each: what and where
};

// Extracts every payload file of `reader` (already read) below `folder`, which is created
// when missing. Existing files are replaced only with `force`.
ExtractResult ExtractSetup(SetupReader& reader, const std::string& folder, bool force);

}  // namespace bvq
