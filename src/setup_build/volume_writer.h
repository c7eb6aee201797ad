#pragma once
// Writing the payload behind the data block into the setup file and further volumes: every
// volume is filled to exactly the volume size except the last; the first one ends with the
// trailer.
#include <cstdint>
#include <functional>
#include <string>

#include "setup_build/build_progress.h"
#include "setup_build/payload_reader.h"
#include "setup_build/setup_trailer.h"

namespace bvq {

// Volume sizes of the splitting choices (splitting 1..3).
constexpr uint64_t kDisketteVolumeSize = 1457664;
constexpr uint64_t kCdVolumeSize = 734003200;
constexpr uint64_t kDvdVolumeSize = 4700307456ULL;

struct VolumeLayout {
  uint64_t fixedSize = 0;     // S: size of the setup file after the data block
  uint64_t payloadSize = 0;   // bytes the payload reader yields in total
  uint64_t volumeSize = 0;    // 0: a single file
  SetupTrailer trailer;
  bool showWrittenSize = false;  // stored form: the size text follows the bytes written
};

enum class VolumeOutcome {
  Complete,      // every volume written, the trailer in the first
  Cancelled,     // the cancel request was noticed at the end of a volume
  Inconsistent,  // the payload was shorter or longer than counted
};

struct VolumeResult {
  VolumeOutcome outcome = VolumeOutcome::Complete;
  int volumeCount = 0;     // volumes written (Complete)
  uint64_t totalSize = 0;  // S + payload + 36
};

// Total size of all volumes.
inline uint64_t SetupTotalSize(const VolumeLayout& layout) {
  return layout.fixedSize + layout.payloadSize + kSetupTrailerSize;
}

// Streams the payload. `volumePath(n)` names volume n; volume 0 must exist with size
// `fixedSize`, further volumes are created (replacing files). `highestVolume` is raised to
// the number of every volume opened, so a clean-up knows what to delete. Raises FileError on
// read and write failures.
VolumeResult WriteVolumes(const VolumeLayout& layout, PayloadReader& payload,
                          const std::function<std::string(int)>& volumePath, BuildProgress& progress,
                          int& highestVolume);

}  // namespace bvq
