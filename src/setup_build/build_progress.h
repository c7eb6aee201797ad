#pragma once
// The progress of a build: bytes counted towards the progress bar, shown in units of 1024.
#include <cstdint>

#include "setup_build/build_log.h"

namespace bvq {

// round(n / d) with halves rounded to the even neighbour, in 64-bit arithmetic.
uint64_t RoundedQuotient(uint64_t n, uint64_t d);
// round(bytes / 1024): the unit of the progress bar.
inline uint64_t ProgressUnits(uint64_t bytes) { return RoundedQuotient(bytes, 1024); }

struct BuildProgress {
  explicit BuildProgress(BuildReporter& r) : reporter(r) {}
  BuildReporter& reporter;
  uint64_t bytes = 0;  // ProgressBytes
  bool live = true;    // ProgressLive: block copies move the bar

  // Counts copied bytes; moves the bar when live.
  void AddCopied(uint64_t n) {
    bytes += n;
    if (live) reporter.SetProgressPosition(ProgressUnits(bytes));
  }
  void Reset() {
    bytes = 0;
    reporter.SetProgressPosition(0);
  }
};

}  // namespace bvq
