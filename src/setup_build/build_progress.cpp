#include "setup_build/build_progress.h"

namespace bvq {

uint64_t RoundedQuotient(uint64_t n, uint64_t d) {
  uint64_t q = n / d;
  uint64_t r = n % d;
  // Compare 2r with d without overflow: r >= d - r.
  if (r > d - r || (r == d - r && (q & 1))) ++q;
  return q;
}

}  // namespace bvq
