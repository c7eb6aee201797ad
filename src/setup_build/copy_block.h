#pragma once
// Streams bytes from a source into a volume in pieces of at most 61,440 bytes, counting
// them towards the progress bar. The payload is never held in memory whole; a file's bytes
// go from file to file inside the kernel where it can, through the buffer where not.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "setup_build/binary_file.h"
#include "setup_build/build_progress.h"

namespace bvq {

constexpr size_t kCopyPieceSize = 61440;

// A readable sequence of bytes: a file (from its current position) or a memory buffer.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Remaining() const = 0;
  // Reads up to `size` bytes; 0 only at the end.
  virtual size_t Read(void* data, size_t size) = 0;
  // Copies up to `size` bytes straight into `target` without passing them through this
  // process; nothing when the source cannot (then Read is used).
  virtual std::optional<size_t> CopyInKernel(BinaryFile& /*target*/, size_t /*size*/) { return std::nullopt; }
};

// The bytes of an open file from its current position up to `limit` bytes further.
class FileByteSource : public ByteSource {
 public:
  FileByteSource(BinaryFile& file, uint64_t limit) : file_(file), remaining_(limit) {}
  uint64_t Remaining() const override { return remaining_; }
  size_t Read(void* data, size_t size) override;
  std::optional<size_t> CopyInKernel(BinaryFile& target, size_t size) override;
 private:
  BinaryFile& file_;
  uint64_t remaining_;
  bool kernelCopies_ = true;  // false once the kernel refused these two files
};

class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::string bytes) : bytes_(std::move(bytes)) {}
  uint64_t Remaining() const override { return bytes_.size() - position_; }
  size_t Read(void* data, size_t size) override;
 private:
  std::string bytes_;
  size_t position_ = 0;
};

// Copies min(count, what the source has left) bytes in pieces of at most kCopyPieceSize,
// letting events run between reads and writes and counting each piece in `progress`.
// Returns the number of bytes copied (fewer when a read returns nothing).
uint64_t CopyBlock(BinaryFile& target, ByteSource& source, uint64_t count, BuildProgress& progress);

}  // namespace bvq
