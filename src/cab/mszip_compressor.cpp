// MSZIP folders: each CFDATA block is "CK" followed by a complete raw deflate stream
// (last block flag set) of at most 32 KB of data. Decoders keep a 32 KB window across
// the blocks of a folder, so every block is compressed with the previous 32 KB of the
// folder as preset dictionary; this brings the ratio close to that of one deflate stream.
#include <zlib.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

#include "cab/folder_compressor.h"

namespace bvq::cab {
namespace {

constexpr int kLevel = 6;

class MsZipCompressor final : public FolderCompressor {
 public:
  explicit MsZipCompressor(BlockSink sink)
      : sink_(std::move(sink)), history_(kMaxBlockUncompressed), block_(kMaxBlockUncompressed),
        out_(kMaxBlockCompressed) {
    std::memset(&z_, 0, sizeof z_);
    if (deflateInit2(&z_, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw std::bad_alloc();
  }
  ~MsZipCompressor() override { deflateEnd(&z_); }

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
    hasHistory_ = false;  // a new folder starts with an empty window
  }

 private:
  void Emit() {
    size_t n = have_;
    have_ = 0;
    if (deflateReset(&z_) != Z_OK) throw std::runtime_error("deflateReset failed");
    if (hasHistory_ &&
        deflateSetDictionary(&z_, history_.data(), uInt(history_.size())) != Z_OK)
      throw std::runtime_error("deflateSetDictionary failed");
    out_[0] = 'C';
    out_[1] = 'K';
    z_.next_in = block_.data();
    z_.avail_in = uInt(n);
    z_.next_out = out_.data() + 2;
    z_.avail_out = uInt(out_.size() - 2);
    if (deflate(&z_, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate failed");
    size_t size = out_.size() - z_.avail_out;
    // Only full blocks are ever followed by another block, so the window of the next
    // block is exactly this block's data.
    std::swap(history_, block_);
    hasHistory_ = true;
    sink_(out_.data(), size, uint32_t(n));
  }

  BlockSink sink_;
  z_stream z_;
  std::vector<uint8_t> history_, block_, out_;
  size_t have_ = 0;
  bool hasHistory_ = false;
};

}  // namespace

std::unique_ptr<FolderCompressor> MakeMsZipCompressor(BlockSink sink) {
  return std::make_unique<MsZipCompressor>(std::move(sink));
}

}  // namespace bvq::cab
