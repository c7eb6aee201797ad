// MSZIP folders: each CFDATA block is "CK" followed by a complete raw deflate stream
// (last block flag set) of at most 32 KB of data. Decoders keep a 32 KB window across
// the blocks of a folder, so every block is compressed with the previous 32 KB of the
// folder as preset dictionary; this brings the ratio close to that of one deflate stream.
// Since a block depends only on its own data and the raw data before it, the blocks of a
// batch are compressed on several threads; they are emitted in order on the caller's.
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

#include "cab/folder_compressor.h"

namespace bvq::cab {
namespace {

// Level 5 packs as tightly as gzip -6 does with the carried history, at less cost.
constexpr int kLevel = 5;
constexpr size_t kBatch = 16;  // blocks compressed together (512 KB of input)

size_t WorkerCount() {
  unsigned n = std::thread::hardware_concurrency();
  return std::clamp<size_t>(n, 1, 4);
}

class Deflater {
 public:
  Deflater() {
    std::memset(&z_, 0, sizeof z_);
    if (deflateInit2(&z_, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw std::bad_alloc();
  }
  ~Deflater() { deflateEnd(&z_); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  // "CK" and the deflate stream of `in` into `out`; returns the size, 0 on failure.
  size_t Block(const uint8_t* dict, const uint8_t* in, size_t inSize, uint8_t* out,
               size_t outSize) {
    if (deflateReset(&z_) != Z_OK) return 0;
    if (dict && deflateSetDictionary(&z_, dict, uInt(kMaxBlockUncompressed)) != Z_OK) return 0;
    out[0] = 'C';
    out[1] = 'K';
    z_.next_in = const_cast<uint8_t*>(in);
    z_.avail_in = uInt(inSize);
    z_.next_out = out + 2;
    z_.avail_out = uInt(outSize - 2);
    if (deflate(&z_, Z_FINISH) != Z_STREAM_END) return 0;
    return outSize - z_.avail_out;
  }

 private:
  z_stream z_;
};

class MsZipCompressor final : public FolderCompressor {
 public:
  explicit MsZipCompressor(BlockSink sink)
      : sink_(std::move(sink)), history_(kMaxBlockUncompressed), deflaters_(WorkerCount()) {
    for (Slot& s : slots_) {
      s.in.resize(kMaxBlockUncompressed);
      s.out.resize(kMaxBlockCompressed);
    }
  }

  void Write(const uint8_t* data, size_t size) override {
    while (size > 0) {
      Slot& s = slots_[count_];
      size_t n = std::min(size, kMaxBlockUncompressed - have_);
      std::memcpy(s.in.data() + have_, data, n);
      have_ += n;
      data += n;
      size -= n;
      if (have_ == kMaxBlockUncompressed) {
        s.inSize = have_;
        have_ = 0;
        if (++count_ == kBatch) RunBatch();
      }
    }
  }

  void Finish() override {
    if (have_ > 0) {
      slots_[count_].inSize = have_;
      have_ = 0;
      ++count_;
    }
    RunBatch();
    hasHistory_ = false;  // a new folder starts with an empty window
  }

 private:
  struct Slot {
    std::vector<uint8_t> in, out;
    size_t inSize = 0, outSize = 0;
  };

  void Compress(size_t worker, size_t workers, size_t n) {
    for (size_t i = worker; i < n; i += workers) {
      const uint8_t* dict = i > 0 ? slots_[i - 1].in.data() : hasHistory_ ? history_.data() : nullptr;
      Slot& s = slots_[i];
      s.outSize = deflaters_[worker].Block(dict, s.in.data(), s.inSize, s.out.data(), s.out.size());
    }
  }

  void RunBatch() {
    size_t n = count_;
    count_ = 0;
    if (n == 0) return;
    size_t workers = std::min(deflaters_.size(), n);
    std::vector<std::thread> threads;
    for (size_t w = 1; w < workers; ++w) threads.emplace_back([this, w, workers, n] { Compress(w, workers, n); });
    Compress(0, workers, n);
    for (std::thread& t : threads) t.join();
    for (size_t i = 0; i < n; ++i)
      if (slots_[i].outSize == 0) throw std::runtime_error("deflate failed");
    // Only full blocks are ever followed by another block, so the window of the next
    // batch is the last block of this one.
    if (slots_[n - 1].inSize == kMaxBlockUncompressed) {
      std::swap(history_, slots_[n - 1].in);
      hasHistory_ = true;
    }
    for (size_t i = 0; i < n; ++i) sink_(slots_[i].out.data(), slots_[i].outSize, uint32_t(slots_[i].inSize));
  }

  BlockSink sink_;
  Slot slots_[kBatch];
  std::vector<uint8_t> history_;
  bool hasHistory_ = false;
  std::vector<Deflater> deflaters_;
  size_t count_ = 0;  // full slots waiting
  size_t have_ = 0;   // bytes in slots_[count_]
};

}  // namespace

std::unique_ptr<FolderCompressor> MakeMsZipCompressor(BlockSink sink) {
  return std::make_unique<MsZipCompressor>(std::move(sink));
}

}  // namespace bvq::cab
