#pragma once
// What the project information window shows: the number of file entries, the total size of
// their source files, the size of the last setup built in this run and its volume count.
#include <cstdint>
#include <string>
#include <vector>

#include "project/project.h"

namespace bvq::app {

// A count in groups of three digits separated by blanks ("1 234 567"); "0" for 0.
std::string GroupedCount(int64_t count);

// The source files of the file entries whose sizes make the total (paths on this system;
// folder-only entries are left out).
std::vector<std::string> InfoSourceFiles(const Project& project);

struct ProjectInfoTexts {
  std::string fileCount;   // Label4: all entries of the file list
  std::string totalSize;   // Label5: sizes of the existing source files
  std::string setupSize;   // Label6
  std::string volumes;     // Label8: volumes after the setup file
};

// The texts; `sources` as InfoSourceFiles gave them (they are read for their sizes, a
// missing file or a folder counts 0).
ProjectInfoTexts ComputeProjectInfo(std::size_t entryCount, const std::vector<std::string>& sources,
                                    const std::string& lastSetupSizeText, int lastVolumeIndex);

}  // namespace bvq::app
