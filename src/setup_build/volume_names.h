#pragma once
// Names and size of the output volumes.
#include <cstdint>
#include <string>

#include "project/project.h"

namespace bvq {

// Volume 0 is the setup file (setupFile, or the documents folder's Setup.exe when that is
// empty); volume n >= 1 lies beside it, named by the pattern volumeFileName after variable
// substitution with %I% as n + 1 ("disk%i%.pak": disk2.pak, disk3.pak ...).
std::string VolumePath(const Project& project, int n);

// Volume size in bytes for the splitting choice; 0 for a single file.
uint64_t VolumeSize(const Project& project);

}  // namespace bvq
