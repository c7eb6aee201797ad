#include "setup_build/build_cancel.h"

#include <atomic>

namespace bvq {
namespace {
// Lock-free, so setting it from a signal handler is safe.
std::atomic<bool> cancelRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);
}  // namespace

void RequestBuildCancel() noexcept { cancelRequested.store(true, std::memory_order_relaxed); }
bool BuildCancelRequested() noexcept { return cancelRequested.load(std::memory_order_relaxed); }
void ResetBuildCancel() noexcept { cancelRequested.store(false, std::memory_order_relaxed); }

}  // namespace bvq
