// Stored folders: every CFDATA block carries its 32 KB of data unchanged.
#include <cstring>
#include <vector>

#include "cab/folder_compressor.h"

namespace bvq::cab {
namespace {

class StoredCompressor final : public FolderCompressor {
 public:
  explicit StoredCompressor(BlockSink sink) : sink_(std::move(sink)), block_(kMaxBlockUncompressed) {}

  void Write(const uint8_t* data, size_t size) override {
    while (size > 0) {
      size_t n = std::min(size, block_.size() - have_);
      std::memcpy(block_.data() + have_, data, n);
      have_ += n;
      data += n;
      size -= n;
      if (have_ == block_.size()) Emit();
    }
  }

  void Finish() override {
    if (have_ > 0) Emit();
  }

 private:
  void Emit() {
    size_t n = have_;
    have_ = 0;  // reset first: the sink may throw
    sink_(block_.data(), n, uint32_t(n));
  }

  BlockSink sink_;
  std::vector<uint8_t> block_;
  size_t have_ = 0;
};

}  // namespace

std::unique_ptr<FolderCompressor> MakeStoredCompressor(BlockSink sink) {
  return std::make_unique<StoredCompressor>(std::move(sink));
}

}  // namespace bvq::cab
