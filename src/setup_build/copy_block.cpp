#include "setup_build/copy_block.h"

#include <algorithm>
#include <cstring>

namespace bvq {

size_t FileByteSource::Read(void* data, size_t size) {
  size_t want = static_cast<size_t>(std::min<uint64_t>(size, remaining_));
  if (want == 0) return 0;
  size_t n = file_.Read(data, want);
  remaining_ -= n;  // a file that ended early keeps bytes outstanding
  return n;
}

std::optional<size_t> FileByteSource::CopyInKernel(BinaryFile& target, size_t size) {
  size_t want = static_cast<size_t>(std::min<uint64_t>(size, remaining_));
  if (want == 0 || !kernelCopies_) return std::nullopt;
  std::optional<size_t> n = target.CopyInKernel(file_, want);
  if (!n) {
    kernelCopies_ = false;
    return std::nullopt;
  }
  remaining_ -= *n;
  return n;
}

size_t MemoryByteSource::Read(void* data, size_t size) {
  size_t n = std::min(size, bytes_.size() - position_);
  std::memcpy(data, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

uint64_t CopyBlock(BinaryFile& target, ByteSource& source, uint64_t count, BuildProgress& progress) {
  count = std::min(count, source.Remaining());
  static thread_local char piece[kCopyPieceSize];
  uint64_t copied = 0;
  while (copied < count) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(kCopyPieceSize, count - copied));
    progress.reporter.ProcessEvents();
    size_t n = 0;
    if (std::optional<size_t> direct = source.CopyInKernel(target, want)) {
      n = *direct;
      if (n == 0) break;
    } else {
      n = source.Read(piece, want);
      if (n == 0) break;
      progress.reporter.ProcessEvents();
      target.Write(piece, n);
    }
    progress.reporter.ProcessEvents();
    copied += n;
    progress.AddCopied(n);
    progress.reporter.ProcessEvents();
  }
  return copied;
}

}  // namespace bvq
