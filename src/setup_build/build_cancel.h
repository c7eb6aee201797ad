#pragma once
// The build's cancel request. Cancel (the button, SIGINT on the command line, a failing
// stub copy, a packing error, a consistency error) sets it; the build acts on it at its
// next check or cabinet-writer event.
namespace bvq {

// Sets the request. Safe to call from another thread and from a signal handler.
void RequestBuildCancel() noexcept;
bool BuildCancelRequested() noexcept;
// Clears the request; the build does this when it starts.
void ResetBuildCancel() noexcept;

}  // namespace bvq
