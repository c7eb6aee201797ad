#pragma once
// The whole build of a project into a setup program: checks, uninstaller preparation,
// payload collection, the stub copy with its icon and version texts, packing, the installer
// script, the data block, and the payload streamed into the volumes with the trailer.
#include <cstdint>
#include <string>

#include "setup_build/build_log.h"
#include "project/project.h"
#include "project/project_session.h"

namespace bvq {

struct BuildResult {
  bool built = false;
  int volumeCount = 0;     // volumes written
  uint64_t totalSize = 0;  // size of all volumes together
  std::string setupPath;   // volume 0
};

// Runs the build. Reads the project, records the outcome in the session (buildCurrent,
// lastVolumeIndex, lastSetupSizeText) and reports through `reporter`. The cancel request
// (build/build_cancel.h) is cleared at the start and acted on at every check. A check that
// fails stops before anything is written; a cancel, an inconsistency or any failure to read
// or write removes the partial setup, the further volumes of this build and the work files.
// Every volume is written under a temporary name beside its own and renamed into place only
// once all are complete, so the volumes of an earlier build survive a failed one.
BuildResult RunBuild(const Project& project, ProjectSession& session, BuildReporter& reporter);

}  // namespace bvq
