// LZX folder compressor: E8-translates the folder's data frame by frame, parses it chunk by
// chunk against a window of 2^windowBits bytes kept for the whole folder, cuts the items into
// blocks and writes one CFDATA payload per 32 KB frame. Two parsers, each with its own
// match finder, take turns with the chunks so that two chunks are parsed at a time.
#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "cab/lzx_compressor.h"
#include "cab/lzx_bitwriter.h"
#include "cab/lzx_block.h"
#include "cab/lzx_e8.h"
#include "cab/lzx_format.h"
#include "cab/lzx_parser.h"

namespace bvq::cab {
namespace {

using namespace lzx;

// Data parsed at a time by each of the two parsers; multiples of the frame size. The
// thread that also writes every chunk (block codes, bits, call translation) parses the
// smaller one: with a quarter of each round both threads are about as busy (with 7 of 16
// frames it did 60 % of the work and the worker waited).
constexpr uint32_t kOwnChunk = 4 * kFrameSize;
constexpr uint32_t kWorkerChunk = 12 * kFrameSize;
constexpr uint32_t kRoundSize = kOwnChunk + kWorkerChunk;
// Block type, size, padding and repeated offsets of an uncompressed block.
constexpr uint64_t kUncompressedOverheadBits = 3 + 24 + 16 + 96 + 8;
// Folder positions are 32-bit; stop well before they wrap.
constexpr uint64_t kMaxFolderBytes = 0xFFF00000u;

// Re-expresses the matches of a parse made against the queue `assumed` for the queue the
// decoder will have, `actual` (left as after): the other parser's chunk in between moved
// it. A match keeps its distance; whether it is sent as a repeat follows `actual`.
void Rebase(std::vector<Item>& items, RepeatQueue assumed, RepeatQueue& actual) {
  for (Item& it : items) {
    if (it.len == 0) continue;
    const uint32_t d = it.value < kNumRepeats ? assumed.r[it.value] : it.value - 2;
    assumed.Apply(it);
    it.value = d == actual.r[0] ? 0 : d == actual.r[1] ? 1 : d == actual.r[2] ? 2 : d + 2;
    actual.Apply(it);
  }
}

class LzxCompressor final : public FolderCompressor {
 public:
  LzxCompressor(BlockSink sink, int windowBits, const ParserTuning& tuning)
      : sink_(std::move(sink)), windowSize_(1u << windowBits), coder_(windowBits),
        catchUpStride_(std::max(1u, tuning.catchUpStride)), parsers_{{windowBits, tuning}, {windowBits, tuning}} {
    // History, the chunk waiting to be written, the two chunks of a round and new input.
    buf_.resize(windowSize_ + 2 * kRoundSize);
    for (Parser& p : parsers_) p.Reset();
  }

  void Write(const uint8_t* data, size_t size) override {
    if (bufBase_ + uint64_t{fill_} + size > kMaxFolderBytes)
      throw std::length_error("LZX folder larger than 4 GB");
    while (size > 0) {
      if (fill_ == buf_.size()) Slide();
      size_t n = std::min(size, buf_.size() - fill_);
      std::memcpy(buf_.data() + fill_, data, n);
      fill_ += n;
      data += n;
      size -= n;
      while (End() - searched_ >= kRoundSize) Round(kOwnChunk, kWorkerChunk);
    }
  }

  void Finish() override {
    const uint32_t rest = End() - searched_;
    if (rest > 0) Round(std::min(rest, kOwnChunk), rest - std::min(rest, kOwnChunk));
    if (pendingEnd_ > pendingStart_) Encode(pending_, pendingStart_, pendingEnd_);
    if (frameFill_ > 0) EndFrame();
    // Fresh state for the next folder.
    bufBase_ = 0;
    fill_ = 0;
    searched_ = pendingStart_ = pendingEnd_ = 0;
    started_ = false;
    queue_ = RepeatQueue{};
    coder_.Reset();
    for (int k = 0; k < 2; ++k) {
      parsers_[k].Reset();
      seen_[k] = 0;
      parserQueue_[k] = RepeatQueue{};
    }
    bw_.Clear();
  }

 private:
  // A parsed chunk: its items, against the queue the parse started from.
  struct Parsed {
    std::vector<Item> items;
    RepeatQueue assumed;
  };

  uint32_t End() const { return bufBase_ + static_cast<uint32_t>(fill_); }
  uint8_t* At(uint32_t pos) { return buf_.data() + (pos - bufBase_); }
  ParseInput Input(uint32_t start, uint32_t end) const { return {buf_.data(), bufBase_, start, end}; }

  // Drops what lies more than a window before the chunk still to be written.
  void Slide() {
    const uint32_t oldest = pendingEnd_ > pendingStart_ ? pendingStart_ : searched_;
    const uint32_t keepFrom = oldest > windowSize_ ? oldest - windowSize_ : 0;
    const size_t shift = keepFrom - bufBase_;
    std::memmove(buf_.data(), buf_.data() + shift, fill_ - shift);
    fill_ -= shift;
    bufBase_ = keepFrom;
  }

  // Translates the next one or two chunks; parses the first here and the second on a
  // worker thread with the other parser, each parser entering first what the other parsed
  // since its last turn. Meanwhile this thread writes the chunk left from the round
  // before, then its own. The threads share only the (unchanging) buffer.
  void Round(uint32_t len0, uint32_t len1) {
    const uint32_t s0 = searched_, s1 = s0 + len0, end = s1 + len1;
    for (uint32_t f = s0; f < end; f += kFrameSize) {
      if (f / kFrameSize >= kE8MaxFrames) break;
      TranslateE8Frame(At(f), std::min(kFrameSize, end - f), f, kE8TranslationSize);
    }
    std::exception_ptr failure;
    {
      std::optional<std::jthread> worker;
      if (len1 > 0) {
        auto job = [this, s1, end, &failure] {
          try {
            Prepare(1, s1, end);
          } catch (...) {
            failure = std::current_exception();
          }
        };
        try {
          worker.emplace(job);
        } catch (const std::system_error&) {
          job();  // no thread to be had: one after the other
        }
      }
      if (pendingEnd_ > pendingStart_) Encode(pending_, pendingStart_, pendingEnd_);
      pendingStart_ = pendingEnd_ = 0;
      Prepare(0, s0, s1);
      Encode(parsed_[0], s0, s1);
    }  // joins the worker, also when this thread threw
    if (failure) std::rethrow_exception(failure);
    searched_ = end;
    if (len1 > 0) {
      std::swap(pending_, parsed_[1]);
      pendingStart_ = s1;
      pendingEnd_ = end;
    }
  }

  // Parser k parses [start, end) into its slot, after entering what lies between its last
  // chunk and this one, as far as the window reaches.
  void Prepare(int k, uint32_t start, uint32_t end) {
    const uint32_t reach = start > windowSize_ ? start - windowSize_ : 0;
    const uint32_t from = std::max(seen_[k], reach);
    if (from < start) parsers_[k].Enter(Input(from, start), catchUpStride_);
    Parsed& out = parsed_[k];
    out.assumed = parserQueue_[k];
    out.items.clear();
    parsers_[k].Parse(Input(start, end), parserQueue_[k], out.items);
    seen_[k] = end;
  }

  // Writes the parsed chunk [start, end).
  void Encode(Parsed& parsed, uint32_t start, uint32_t end) {
    const RepeatQueue before = queue_;
    Rebase(parsed.items, parsed.assumed, queue_);
    if (!started_) {
      // Stream header: call translation on, with its translation size.
      bw_.Put(1, 1);
      bw_.Put(kE8TranslationSize >> 16, 16);
      bw_.Put(kE8TranslationSize & 0xFFFF, 16);
      started_ = true;
    }
    EncodeChunk(parsed.items, start, end - start, before);
  }

  // The items of one frame of the chunk being written.
  struct FrameSpan {
    size_t first, end;  // item range
    uint32_t pos, len;  // folder position and size
    BlockStats stats;
    RepeatQueue after;  // the repeated offsets after the frame
  };

  // Cuts the chunk's items into frames and groups neighbouring frames into one block
  // while their statistics are alike enough that one set of trees codes them smaller.
  void EncodeChunk(const std::vector<Item>& items, uint32_t start, uint32_t len, RepeatQueue queue) {
    frames_.clear();
    size_t i = 0;
    for (uint32_t f = start; f < start + len; f += kFrameSize) {
      FrameSpan fs{i, i, f, std::min(kFrameSize, start + len - f), {}, {}};
      for (uint32_t covered = 0; covered < fs.len; ++i) {
        const Item& it = items[i];
        if (it.len) {
          // Self-check of every match against the window: a fault in the search must
          // fail the folder, never write data that decodes to something else.
          const uint32_t at = f + covered;
          const uint32_t dist = it.value >= kNumRepeats ? it.value - 2 : queue.r[it.value];
          if (dist > at - bufBase_ || covered + it.len > fs.len || std::memcmp(At(at), At(at - dist), it.len) != 0)
            throw std::logic_error("LZX encoder produced an invalid match");
        }
        fs.stats.Add(it);
        queue.Apply(it);
        covered += it.len ? it.len : 1;
      }
      fs.end = i;
      fs.after = queue;
      frames_.push_back(fs);
    }
    BlockCodes scratch;
    for (size_t b = 0; b < frames_.size();) {
      BlockStats cur = frames_[b].stats;
      uint64_t curBits = coder_.Plan(cur, scratch);
      size_t e = b + 1;
      for (; e < frames_.size(); ++e) {
        BlockStats merged = cur;
        merged.Merge(frames_[e].stats);
        uint64_t mergedBits = coder_.Plan(merged, scratch);
        if (mergedBits > curBits + coder_.Plan(frames_[e].stats, scratch)) break;
        cur = merged;
        curBits = mergedBits;
      }
      WriteBlock(items, b, e);
      b = e;
    }
  }

  // Writes frames [b, e) as one block, or as uncompressed blocks when that is smaller.
  void WriteBlock(const std::vector<Item>& items, size_t b, size_t e) {
    BlockStats stats;
    uint64_t rawBits = 0;
    for (size_t f = b; f < e; ++f) {
      stats.Merge(frames_[f].stats);
      rawBits += 8 * uint64_t{frames_[f].len} + kUncompressedOverheadBits;
    }
    BlockCodes codes;
    const uint64_t bits = coder_.Plan(stats, codes);
    if (bits >= rawBits) {
      for (size_t f = b; f < e; ++f) WriteUncompressed(frames_[f].pos, frames_[f].len, frames_[f].after);
      return;
    }
    // Every frame must fit one CFDATA block; with the trees of a long block a frame of
    // unusual content could exceed it, so such blocks are written frame by frame.
    frameBits_.clear();
    uint64_t itemBits = 0;
    for (size_t f = b; f < e; ++f) {
      uint64_t fb = 0;
      for (size_t k = frames_[f].first; k < frames_[f].end; ++k) fb += BlockCoder::ItemBits(codes, items[k]);
      frameBits_.push_back(fb);
      itemBits += fb;
    }
    frameBits_[0] += bits - itemBits;  // header and trees go into the first frame
    bool fits = true;
    for (uint64_t fb : frameBits_) fits = fits && fb + 64 <= 8 * uint64_t{kMaxBlockCompressed};
    if (!fits) {
      if (e - b > 1) {
        for (size_t f = b; f < e; ++f) WriteBlock(items, f, f + 1);
      } else {
        WriteUncompressed(frames_[b].pos, frames_[b].len, frames_[b].after);
      }
      return;
    }
    uint32_t blockSize = 0;
    for (size_t f = b; f < e; ++f) blockSize += frames_[f].len;
    coder_.WriteHeader(bw_, codes, blockSize);
    for (size_t k = frames_[b].first; k < frames_[e - 1].end; ++k) {
      BlockCoder::WriteItem(bw_, codes, items[k]);
      frameFill_ += items[k].len ? items[k].len : 1;
      if (frameFill_ == kFrameSize) EndFrame();
    }
  }

  // One uncompressed block within one frame; `after` is the repeated-offset queue that the
  // following blocks expect.
  void WriteUncompressed(uint32_t pos, uint32_t len, const RepeatQueue& after) {
    bw_.Put(kUncompressed, 3);
    bw_.Put(len, 24);
    // 1 to 16 bits of padding up to the next 16-bit boundary.
    if (bw_.Aligned()) bw_.Put(0, 16); else bw_.AlignWord();
    for (uint32_t r : after.r)
      for (int b = 0; b < 4; ++b) bw_.PutByte(static_cast<uint8_t>(r >> (8 * b)));
    const uint8_t* p = At(pos);
    for (uint32_t i = 0; i < len; ++i) bw_.PutByte(p[i]);
    if (len & 1) bw_.PutByte(0);
    frameFill_ += len;
    if (frameFill_ == kFrameSize) EndFrame();
  }

  void EndFrame() {
    bw_.AlignWord();
    std::vector<uint8_t>& bytes = bw_.Bytes();
    if (bytes.size() > kMaxBlockCompressed) throw std::logic_error("LZX frame exceeds the CFDATA limit");
    sink_(bytes.data(), bytes.size(), frameFill_);
    bw_.Clear();
    frameFill_ = 0;
  }

  BlockSink sink_;
  uint32_t windowSize_;
  std::vector<uint8_t> buf_;
  uint32_t bufBase_ = 0;  // folder position of buf_[0]
  size_t fill_ = 0;       // bytes held in buf_
  uint32_t searched_ = 0;      // folder position up to which chunks are parsed
  uint32_t pendingStart_ = 0;  // the chunk parsed but not yet written
  uint32_t pendingEnd_ = 0;
  Parsed pending_;
  bool started_ = false;
  RepeatQueue queue_;  // the decoder's queue after what is written
  BlockCoder coder_;
  uint32_t catchUpStride_;
  Parser parsers_[2];
  uint32_t seen_[2] = {};  // folder position up to which each parser has entered the data
  RepeatQueue parserQueue_[2];  // each parser's own view of the queue
  Parsed parsed_[2];            // the chunks of the current round
  std::vector<FrameSpan> frames_;
  std::vector<uint64_t> frameBits_;
  BitWriter bw_;
  uint32_t frameFill_ = 0;  // uncompressed bytes of the frame being written
};
}  // namespace

std::unique_ptr<FolderCompressor> MakeLzxCompressor(BlockSink sink, int windowBits, const ParserTuning& tuning) {
  if (windowBits < 15 || windowBits > 21) throw std::invalid_argument("LZX window bits must be 15..21");
  return std::make_unique<LzxCompressor>(std::move(sink), windowBits, tuning);
}

std::unique_ptr<FolderCompressor> MakeLzxCompressor(BlockSink sink, int windowBits) {
  return MakeLzxCompressor(std::move(sink), windowBits, ParserTuning{});
}

}  // namespace bvq::cab
