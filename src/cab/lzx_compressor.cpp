// LZX folder compressor: E8-translates the folder's data frame by frame, parses it chunk by
// chunk against a window of 2^windowBits bytes kept for the whole folder, cuts the items into
// blocks and writes one CFDATA payload per 32 KB frame. Two parsers, each with its own
// match finder, take turns with the chunks: one on the caller's thread, which also writes,
// and one on a worker thread that lives as long as the compressor and parses its next
// chunk while the caller writes the chunks before.
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <exception>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "cab/lzx_compressor.h"
#include "cab/large_array.h"
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
// smaller one. Measured on the reference payload: with 6 of 18 frames each thread waits
// for the other 1-3 % of the time; with 5 of 17 the writing thread waited 10 %, with 6 of
// 17 the worker 4 %.
constexpr uint32_t kOwnChunk = 6 * kFrameSize;
constexpr uint32_t kWorkerChunk = 12 * kFrameSize;
constexpr uint32_t kRoundSize = kOwnChunk + kWorkerChunk;
// Rounds parsed but not yet written: the worker parses the next round's chunk while this
// thread writes the one before. The cabinet writer counts data not yet written as
// uncompressed when it fills a cabinet, so a longer lag would end cabinets earlier.
constexpr size_t kRoundsAhead = 1;
// Rounds of input held beyond the window and the rounds not yet written, so that the
// buffer is moved only every few rounds.
constexpr uint32_t kSpareRounds = 4;
// Block type, size, padding and repeated offsets of an uncompressed block.
constexpr uint64_t kUncompressedOverheadBits = 3 + 24 + 16 + 96 + 8;
// Folder positions are 32-bit; stop well before they wrap.
constexpr uint64_t kMaxFolderBytes = 0xFFF00000u;

class LzxCompressor final : public FolderCompressor {
 public:
  LzxCompressor(BlockSink sink, int windowBits, const ParserTuning& tuning)
      : sink_(std::move(sink)), windowSize_(1u << windowBits), coder_(windowBits),
        catchUpStride_(std::max(1u, tuning.catchUpStride)), parsers_{{windowBits, tuning}, {windowBits, tuning}} {
    // History, the rounds not yet written, the round being parsed and spare input.
    for (LargeArray<uint8_t>& b : bufs_) b = LargeArray<uint8_t>(windowSize_ + (kRoundsAhead + 1 + kSpareRounds) * kRoundSize);
    for (Parser& p : parsers_) p.Reset();
  }

  ~LzxCompressor() override {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
  }

  void Write(const uint8_t* data, size_t size) override {
    if (bufBase_ + uint64_t{fill_} + size > kMaxFolderBytes)
      throw std::length_error("LZX folder larger than 4 GB");
    while (size > 0) {
      if (fill_ == Buffer().size()) Slide();
      size_t n = std::min(size, Buffer().size() - fill_);
      std::memcpy(Buffer().data() + fill_, data, n);
      fill_ += n;
      data += n;
      size -= n;
      while (End() - searched_ >= kRoundSize) StartRound(kOwnChunk, kWorkerChunk);
    }
  }

  void Finish() override {
    const uint32_t rest = End() - searched_;
    if (rest > 0) StartRound(std::min(rest, kOwnChunk), rest - std::min(rest, kOwnChunk));
    while (!rounds_.empty()) WriteOldestRound();
    if (frameFill_ > 0) EndFrame();
    // Fresh state for the next folder; the worker is idle now.
    bufBase_ = 0;
    fill_ = 0;
    searched_ = 0;
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
    std::vector<BlockStats> frames;  // of the items as parsed, frame by frame
    RepeatQueue assumed;
  };
  // Two neighbouring chunks: [start, otherInput.start) parsed by this thread and the
  // worker's, otherInput, up to otherInput.end.
  struct Round {
    uint32_t start = 0;
    Parsed own, other;
    ParseInput otherInput{};  // the worker's chunk in the buffer it was in when handed out
    bool otherDone = false;   // set by the worker, under the mutex
    std::exception_ptr failure;
  };

  uint32_t End() const { return bufBase_ + static_cast<uint32_t>(fill_); }
  LargeArray<uint8_t>& Buffer() { return bufs_[current_]; }
  uint8_t* At(uint32_t pos) { return Buffer().data() + (pos - bufBase_); }
  ParseInput Input(uint32_t start, uint32_t end) { return {Buffer().data(), bufBase_, start, end}; }

  // Drops what lies more than a window before the oldest chunk not yet written, by
  // copying the rest to the other buffer. Chunks handed to the worker before go on
  // reading this one, so the worker need not stop; only a chunk still reading the other
  // buffer (handed out before the slide before this one) is waited for.
  void Slide() {
    const uint32_t oldest = rounds_.empty() ? searched_ : rounds_.front()->start;
    const uint32_t keepFrom = oldest > windowSize_ ? oldest - windowSize_ : 0;
    const size_t shift = keepFrom - bufBase_;
    LargeArray<uint8_t>& to = bufs_[current_ ^ 1];
    WaitUntilUnread(to.data());
    std::memcpy(to.data(), Buffer().data() + shift, fill_ - shift);
    current_ ^= 1;
    fill_ -= shift;
    bufBase_ = keepFrom;
  }

  // Translates the next one or two chunks, hands the second to the worker, which parses
  // it with the other parser, and parses the first here. Each parser first enters what
  // the other parsed since its last turn. Then writes the rounds that are more than
  // kRoundsAhead behind. The threads share only the data buffers; neither thread changes a
  // buffer that a chunk handed to the worker still reads.
  void StartRound(uint32_t len0, uint32_t len1) {
    const uint32_t s0 = searched_, s1 = s0 + len0, end = s1 + len1;
    for (uint32_t f = s0; f < end; f += kFrameSize) {
      if (f / kFrameSize >= kE8MaxFrames) break;
      TranslateE8Frame(At(f), std::min(kFrameSize, end - f), f, kE8TranslationSize);
    }
    std::unique_ptr<Round> round = TakeSpareRound();
    round->start = s0;
    round->otherDone = len1 == 0;
    round->failure = nullptr;
    round->otherInput = Input(s1, end);
    Round& r = *round;
    rounds_.push_back(std::move(round));
    if (len1 > 0) HandToWorker(r);
    Prepare(0, Input(s0, s1), r.own);
    searched_ = end;
    while (rounds_.size() > kRoundsAhead) WriteOldestRound();
  }

  std::unique_ptr<Round> TakeSpareRound() {
    if (spare_.empty()) return std::make_unique<Round>();
    std::unique_ptr<Round> r = std::move(spare_.back());
    spare_.pop_back();
    return r;
  }

  void HandToWorker(Round& r) {
    if (!worker_.joinable() && !noWorker_) {
      try {
        worker_ = std::thread([this] { Work(); });
      } catch (const std::system_error&) {
        noWorker_ = true;  // no thread to be had: one chunk after the other
      }
    }
    if (noWorker_) {
      ParseOther(r);
      r.otherDone = true;
      return;
    }
    {
      std::lock_guard lock(mutex_);
      jobs_.push_back(&r);
    }
    wake_.notify_one();
  }

  void ParseOther(Round& r) {
    try {
      Prepare(1, r.otherInput, r.other);
    } catch (...) {
      r.failure = std::current_exception();
    }
  }

  void Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
      if (stopping_) return;
      Round* r = jobs_.front();
      jobs_.pop_front();
      lock.unlock();
      ParseOther(*r);
      lock.lock();
      r->otherDone = true;
      done_.notify_all();
    }
  }

  // Waits until no chunk handed to the worker reads the buffer at `data`.
  void WaitUntilUnread(const uint8_t* data) {
    if (!worker_.joinable()) return;
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] {
      for (const std::unique_ptr<Round>& r : rounds_)
        if (!r->otherDone && r->otherInput.data == data) return false;
      return true;
    });
  }

  // Writes the oldest round once the worker has parsed its second chunk.
  void WriteOldestRound() {
    Round& r = *rounds_.front();
    if (worker_.joinable()) {
      std::unique_lock lock(mutex_);
      done_.wait(lock, [&] { return r.otherDone; });
    }
    if (r.failure) std::rethrow_exception(r.failure);
    const uint32_t middle = r.otherInput.start, end = r.otherInput.end;
    Encode(r.own, r.start, middle);
    if (end > middle) Encode(r.other, middle, end);
    spare_.push_back(std::move(rounds_.front()));
    rounds_.pop_front();
  }

  // Parser k parses the chunk `in` into `out`, after entering what lies between its last
  // chunk and this one, as far as the window reaches.
  void Prepare(int k, const ParseInput& in, Parsed& out) {
    const uint32_t start = in.start, end = in.end;
    const uint32_t reach = start > windowSize_ ? start - windowSize_ : 0;
    const uint32_t from = std::max(seen_[k], reach);
    if (from < start) parsers_[k].Enter({in.data, in.base, from, start}, catchUpStride_);
    out.assumed = parserQueue_[k];
    out.items.clear();
    parsers_[k].Parse(in, parserQueue_[k], out.items, out.frames);
    seen_[k] = end;
  }

  // Writes the parsed chunk [start, end).
  void Encode(Parsed& parsed, uint32_t start, uint32_t end) {
    if (!started_) {
      // Stream header: call translation on, with its translation size.
      bw_.Put(1, 1);
      bw_.Put(kE8TranslationSize >> 16, 16);
      bw_.Put(kE8TranslationSize & 0xFFFF, 16);
      started_ = true;
    }
    EncodeChunk(parsed, start, end - start);
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
  // The items were parsed against the queue parsed.assumed; the other parser's chunk in
  // between may have left the decoder's queue (queue_) otherwise, so each match keeps its
  // distance and is sent as a repeat as queue_ has it.
  void EncodeChunk(Parsed& parsed, uint32_t start, uint32_t len) {
    std::vector<Item>& items = parsed.items;
    RepeatQueue assumed = parsed.assumed;
    frames_.clear();
    size_t i = 0;
    for (uint32_t f = start; f < start + len; f += kFrameSize) {
      // The frame's statistics start as the parser counted them.
      frames_.push_back({i, i, f, std::min(kFrameSize, start + len - f), parsed.frames[frames_.size()], {}});
      FrameSpan& fs = frames_.back();
      for (uint32_t covered = 0; covered < fs.len; ++i) {
        Item& it = items[i];
        if (it.len) {
          const uint32_t dist = it.value < kNumRepeats ? assumed.r[it.value] : it.value - 2;
          assumed.Apply(it);
          const uint32_t value = dist == queue_.r[0] ? 0 : dist == queue_.r[1] ? 1 : dist == queue_.r[2] ? 2 : dist + 2;
          if (value != it.value) {
            fs.stats.Remove(it);
            it.value = value;
            fs.stats.Add(it);
          }
          // Self-check of every match against the window: a fault in the search must
          // fail the folder, never write data that decodes to something else.
          const uint32_t at = f + covered;
          if (dist > at - bufBase_ || covered + it.len > fs.len || std::memcmp(At(at), At(at - dist), it.len) != 0)
            throw std::logic_error("LZX encoder produced an invalid match");
        }
        queue_.Apply(it);
        covered += it.len ? it.len : 1;
      }
      fs.end = i;
      fs.after = queue_;
    }
    // The codes of the block being grown, of a trial with one more frame, and of that
    // frame alone (which starts the next block when the trial does not pay).
    if (frames_.empty()) return;
    BlockCodes* block = &codes_[0];
    BlockCodes* trial = &codes_[1];
    BlockCodes* alone = &codes_[2];
    coder_.Plan(frames_[0].stats, *block);
    for (size_t b = 0; b < frames_.size();) {
      BlockStats cur = frames_[b].stats;
      uint64_t curBits = coder_.Bits(cur, *block);
      size_t e = b + 1;
      for (; e < frames_.size(); ++e) {
        BlockStats merged = cur;
        merged.Merge(frames_[e].stats);
        const uint64_t mergedBits = coder_.Plan(merged, *trial);
        if (mergedBits > curBits + coder_.Plan(frames_[e].stats, *alone)) break;
        cur = merged;
        curBits = mergedBits;
        std::swap(block, trial);
      }
      WriteBlock(items, b, e, cur, *block);
      std::swap(block, alone);
      b = e;
    }
  }

  // Writes frames [b, e), whose statistics are `stats`, as one block with `codes` (from
  // Plan), or as uncompressed blocks when that is smaller.
  void WriteBlock(const std::vector<Item>& items, size_t b, size_t e, const BlockStats& stats, BlockCodes& codes) {
    uint64_t rawBits = 0;
    for (size_t f = b; f < e; ++f) rawBits += 8 * uint64_t{frames_[f].len} + kUncompressedOverheadBits;
    const uint64_t header = coder_.HeaderBits(codes);
    const uint64_t bits = header + BlockCoder::ItemsBits(stats, codes);
    if (bits >= rawBits) {
      for (size_t f = b; f < e; ++f) WriteUncompressed(frames_[f].pos, frames_[f].len, frames_[f].after);
      return;
    }
    // Every frame must fit one CFDATA block; with the trees of a long block a frame of
    // unusual content could exceed it, so such blocks are written frame by frame.
    bool fits = true;
    for (size_t f = b; f < e; ++f) {
      uint64_t fb = BlockCoder::ItemsBits(frames_[f].stats, codes);
      if (f == b) fb += header;  // header and trees go into the first frame
      fits = fits && fb + 64 <= 8 * uint64_t{kMaxBlockCompressed};
    }
    if (!fits) {
      if (e - b > 1) {
        for (size_t f = b; f < e; ++f) {
          BlockCodes single;
          coder_.Plan(frames_[f].stats, single);
          WriteBlock(items, f, f + 1, frames_[f].stats, single);
        }
      } else {
        WriteUncompressed(frames_[b].pos, frames_[b].len, frames_[b].after);
      }
      return;
    }
    coder_.MakeCodes(codes);
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
  // The data: history, chunks and new input, in one of two buffers; the other receives
  // what is kept when the data is moved down.
  LargeArray<uint8_t> bufs_[2];
  int current_ = 0;
  uint32_t bufBase_ = 0;  // folder position of the current buffer's first byte
  size_t fill_ = 0;       // bytes held in it
  uint32_t searched_ = 0;  // folder position up to which chunks are handed out
  std::deque<std::unique_ptr<Round>> rounds_;  // rounds not yet written, oldest first
  std::vector<std::unique_ptr<Round>> spare_;  // written rounds, kept for their item vectors
  bool started_ = false;
  RepeatQueue queue_;  // the decoder's queue after what is written
  BlockCoder coder_;
  uint32_t catchUpStride_;
  Parser parsers_[2];
  uint32_t seen_[2] = {};  // folder position up to which each parser has entered the data
  RepeatQueue parserQueue_[2];  // each parser's own view of the queue
  std::vector<FrameSpan> frames_;
  BlockCodes codes_[3];
  BitWriter bw_;
  uint32_t frameFill_ = 0;  // uncompressed bytes of the frame being written

  // The worker thread and its jobs: the second chunks of rounds, in folder order.
  std::thread worker_;
  bool noWorker_ = false;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  std::deque<Round*> jobs_;
  bool stopping_ = false;
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
