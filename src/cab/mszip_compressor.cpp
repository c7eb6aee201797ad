// MSZIP folders: each CFDATA block is "CK" followed by a complete raw deflate stream
// (last block flag set) of at most 32 KB of data. Decoders keep a 32 KB window across
// the blocks of a folder, so a block may refer to the data of the block before it.
//
// The folder is cut into runs of consecutive blocks, each held in one buffer after the
// 32 KB of the folder before it; one encoder goes through a run block by block, so the
// window is entered into its hash chains once a run rather than once a block. Worker
// threads take the runs in order, as soon as they are filled, while the caller fills the
// next ones; the caller hands a run's blocks on after it has filled a fixed number of runs
// after it, so the blocks come out at the same points of the input whatever the timing.
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "cab/deflate_encoder.h"
#include "cab/folder_compressor.h"

namespace bvq::cab {
namespace {

constexpr size_t kRunBlocks = 8;  // blocks a run (256 KB of input)
// Runs filled after a run before its blocks are handed on: enough to keep the workers
// busy while the caller reads; fixed, so that it never depends on the machine.
constexpr size_t kRunsAhead = 3;
constexpr size_t kHistory = kMaxBlockUncompressed;
constexpr size_t kReadPadding = 16;  // the match search reads a little past the data

size_t WorkerCount() {
  return std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4);
}

struct Run {
  // The folder's 32 KB before the run (historySize bytes), then the run's blocks.
  std::vector<uint8_t> in = std::vector<uint8_t>(kHistory + kRunBlocks * kMaxBlockUncompressed + kReadPadding);
  std::vector<uint8_t> out = std::vector<uint8_t>(kRunBlocks * (2 + deflate::Encoder::MaxEncodedSize(kMaxBlockUncompressed)));
  size_t historySize = 0, dataSize = 0;
  size_t outSize[kRunBlocks] = {};
  bool done = false, failed = false;

  size_t Blocks() const { return (dataSize + kMaxBlockUncompressed - 1) / kMaxBlockUncompressed; }
  uint8_t* BlockOut(size_t i) { return out.data() + i * (out.size() / kRunBlocks); }

  void Compress(deflate::Encoder& encoder) {
    encoder.Start(in.data(), historySize);
    for (size_t i = 0; i < Blocks(); ++i) {
      const size_t begin = historySize + i * kMaxBlockUncompressed;
      const size_t end = std::min(begin + kMaxBlockUncompressed, historySize + dataSize);
      uint8_t* o = BlockOut(i);
      o[0] = 'C';
      o[1] = 'K';
      outSize[i] = 2 + encoder.Encode(begin, end, o + 2);
    }
  }
};

class MsZipCompressor final : public FolderCompressor {
 public:
  explicit MsZipCompressor(BlockSink sink) : sink_(std::move(sink)) {}

  ~MsZipCompressor() override {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : workers_) t.join();
  }

  void Write(const uint8_t* data, size_t size) override {
    while (size > 0) {
      if (!filling_) StartRun();
      const size_t room = kRunBlocks * kMaxBlockUncompressed - filling_->dataSize;
      const size_t n = std::min(size, room);
      std::memcpy(filling_->in.data() + filling_->historySize + filling_->dataSize, data, n);
      filling_->dataSize += n;
      data += n;
      size -= n;
      if (n == room) Submit();
    }
  }

  void Finish() override {
    if (filling_ && filling_->dataSize > 0) Submit();
    if (filling_) spare_.push_back(std::move(filling_));
    while (!queued_.empty()) EmitOldest();
    hasHistory_ = false;  // a new folder starts with an empty window
  }

 private:
  void StartRun() {
    if (!spare_.empty()) {
      filling_ = std::move(spare_.back());
      spare_.pop_back();
    } else {
      filling_ = std::make_shared<Run>();
    }
    Run& r = *filling_;
    r.dataSize = 0;
    r.done = r.failed = false;
    r.historySize = hasHistory_ ? kHistory : 0;
    if (hasHistory_) std::memcpy(r.in.data(), history_.data(), kHistory);
  }

  // Queues the filled run for the workers and hands on the blocks of the run filled
  // kRunsAhead runs before it.
  void Submit() {
    std::shared_ptr<Run> run = std::move(filling_);
    // Only full runs are followed by another run of the folder: the next run's window
    // is this one's last 32 KB.
    hasHistory_ = run->dataSize == kRunBlocks * kMaxBlockUncompressed;
    if (hasHistory_) std::memcpy(history_.data(), run->in.data() + run->historySize + run->dataSize - kHistory, kHistory);
    if (WorkerCount() == 1) {
      run->Compress(encoder());
      run->done = true;
      queued_.push_back(run);
    } else {
      StartWorkers();
      {
        std::lock_guard lock(mutex_);
        queued_.push_back(run);
        pending_.push_back(run);
      }
      wake_.notify_one();
    }
    if (queued_.size() > kRunsAhead) EmitOldest();
  }

  void EmitOldest() {
    std::shared_ptr<Run> run = queued_.front();
    {
      std::unique_lock lock(mutex_);
      finished_.wait(lock, [&] { return run->done; });
      queued_.pop_front();
    }
    if (run->failed) throw std::runtime_error("deflate failed");
    for (size_t i = 0; i < run->Blocks(); ++i) {
      const size_t size = std::min(kMaxBlockUncompressed, uint32_t(run->dataSize - i * kMaxBlockUncompressed));
      sink_(run->BlockOut(i), run->outSize[i], uint32_t(size));
    }
    spare_.push_back(std::move(run));
  }

  deflate::Encoder& encoder() {
    if (!ownEncoder_) ownEncoder_ = std::make_unique<deflate::Encoder>();
    return *ownEncoder_;
  }

  void StartWorkers() {
    if (!workers_.empty()) return;
    for (size_t i = 0; i < WorkerCount(); ++i) workers_.emplace_back([this] { Work(); });
  }

  void Work() {
    std::unique_ptr<deflate::Encoder> encoder;  // made in the first run, where a failure is reported
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return stopping_ || !pending_.empty(); });
      if (stopping_) return;
      std::shared_ptr<Run> run = std::move(pending_.front());
      pending_.pop_front();
      lock.unlock();
      bool failed = false;
      try {
        if (!encoder) encoder = std::make_unique<deflate::Encoder>();
        run->Compress(*encoder);
      } catch (const std::exception&) {
        failed = true;
      }
      lock.lock();
      run->failed = failed;
      run->done = true;
      finished_.notify_all();
    }
  }

  BlockSink sink_;
  std::shared_ptr<Run> filling_;               // the run being filled, if any
  std::deque<std::shared_ptr<Run>> queued_;    // filled runs in input order, not yet handed on
  std::vector<std::shared_ptr<Run>> spare_;    // runs handed on, to be filled again
  std::vector<uint8_t> history_ = std::vector<uint8_t>(kHistory);  // the folder's last 32 KB
  bool hasHistory_ = false;
  std::unique_ptr<deflate::Encoder> ownEncoder_;  // without worker threads

  std::mutex mutex_;
  std::condition_variable wake_, finished_;
  std::deque<std::shared_ptr<Run>> pending_;  // filled runs no worker has taken yet
  std::vector<std::thread> workers_;
  bool stopping_ = false;
};

}  // namespace

std::unique_ptr<FolderCompressor> MakeMsZipCompressor(BlockSink sink) {
  return std::make_unique<MsZipCompressor>(std::move(sink));
}

}  // namespace bvq::cab
