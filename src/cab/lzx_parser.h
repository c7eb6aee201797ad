#pragma once
// Lazy parsing of LZX: at each position the best of the repeated-offset matches and the
// hash-bucket matches is weighed by the bits it saves over literals, under costs from the
// statistics of the chunk before; a match is put off by literals while one of the next
// positions offers a better one. Positions inside a chosen match are entered but not searched.
// A shortest-path parse and a binary-tree match finder are the slower, smaller alternatives
// (ParserTuning; bench/README.md has what each costs).
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "cab/lzx_block.h"
#include "cab/lzx_bucketfinder.h"
#include "cab/lzx_costs.h"
#include "cab/lzx_treefinder.h"

namespace bvq::cab::lzx {

// The repeated-offset queue R0..R2 (distances), 1 1 1 at the start of a folder.
struct RepeatQueue {
  std::array<uint32_t, kNumRepeats> r{1, 1, 1};
  // Applies one item's effect on the queue.
  void Apply(const Item& it) {
    if (it.len == 0 || it.value == 0) return;
    if (it.value >= kNumRepeats) {
      r[2] = r[1];
      r[1] = r[0];
      r[0] = it.value - 2;
    } else {
      std::swap(r[0], r[it.value]);
    }
  }
};

// The bytes the parser sees: data[p - base] is the byte at folder position p. The window
// before `start` is history; the chunk is [start, end).
struct ParseInput {
  const uint8_t* data;
  uint32_t base;
  uint32_t start;
  uint32_t end;
};

// Search effort; bench/lzx_bench.cpp compares settings.
struct ParserTuning {
  int hashBits = 17;       // log2 of the number of hash buckets
  uint32_t ways = 8;       // positions kept per hash bucket
  uint32_t niceLen = 48;   // a match this long is taken without looking further
  uint32_t lookAhead = 1;  // positions after a match's start searched for a better one
  // Shortest-path passes per chunk instead of the lazy parse (0: lazy). Every position is
  // searched once; each pass prices items with the statistics of the pass before.
  int optimalPasses = 0;
  // Positions kept per bucket of a second table, of eight-byte strings (0: none). Common
  // four-byte strings push older copies out of their buckets quickly; longer strings keep
  // the copies that long matches far back come from.
  uint32_t longWays = 0;
  // Nodes visited per search of a binary-tree match finder used instead of the buckets
  // (0: buckets).
  uint32_t treeDepth = 0;
  // Every how many positions inside a chosen (lazy) or long (shortest path) match are entered.
  uint32_t innerStride = 1;
  // Every how many positions of the other parser's chunks are entered.
  uint32_t catchUpStride = 2;
  // The shortest path tries at most this many of the lengths of a match that need a length
  // symbol, the longest ones.
  uint32_t relaxLong = 256;
  // After this many literals in a row the lazy parse searches only every skipStride-th
  // position and enters the others (0: search every position). Stretches without
  // matches (compressed pictures, packed data) cost the most per byte to search.
  uint32_t skipAfter = 128;
  uint32_t skipStride = 4;
};

class Parser {
 public:
  Parser(int windowBits, const ParserTuning& tuning);
  // Forgets all history (new folder).
  void Reset();
  // Enters every stride-th position of [in.start, in.end) without parsing them, so that
  // later chunks find matches there.
  void Enter(const ParseInput& in, uint32_t stride);
  // Chooses the items of the chunk [in.start, in.end), which starts at a frame boundary,
  // and gives the statistics of each of its frames to `frames`. Chunks are parsed or entered
  // in folder order. Matches never cross a frame boundary. `queue` is the state before and
  // is left as after.
  void Parse(const ParseInput& in, RepeatQueue& queue, std::vector<Item>& out, std::vector<BlockStats>& frames);

 private:
  struct Choice {
    uint32_t len = 0;    // 0: no match worth taking
    uint32_t value = 0;  // formatted offset
    int32_t gain = 0;    // bits saved over literals, in cost units
  };
  // The cheapest way found to reach a position: its cost and the item that ends there,
  // packed as match length (0: literal) above the literal byte or formatted offset.
  struct Node {
    uint32_t cost;
    uint32_t item;
  };
  static constexpr int kValueBits = 22;  // formatted offsets of a 2 MB window fit
  static uint32_t Pack(uint32_t len, uint32_t value) { return len << kValueBits | value; }
  void ParseLazy(const ParseInput& in, RepeatQueue& queue, std::vector<Item>& out);
  void ParseOptimal(const ParseInput& in, RepeatQueue& queue, std::vector<Item>& out, std::vector<BlockStats>& frames);
  // The statistics of each frame of the chunk's items out[first..] to `frames`, and the
  // costs of their sum to the model, for the next chunk or pass.
  void CountFrames(const ParseInput& in, const std::vector<Item>& out, size_t first, std::vector<BlockStats>& frames);
  // Searches every position of the chunk once into matchStart_/matches_; positions inside a
  // match of niceLen or more are entered only.
  void FindAll(const ParseInput& in);
  // One shortest path over the chunk under the current costs.
  void ShortestPath(const ParseInput& in, RepeatQueue& q, std::vector<Item>& out);
  void Relax(uint32_t j, uint32_t cost, uint32_t item) {
    Node& nd = nodes_[j];
    if (cost < nd.cost) nd = {cost, item};
  }
  // Relaxes the positions i + lo .. i + hi by matches of those lengths in `slot`, whose
  // offset costs `base` on top of the cost at i.
  void RelaxLengths(uint32_t i, uint32_t base, int slot, uint32_t lo, uint32_t hi, uint32_t value);
  // Searches position i of the chunk (entering it) and returns its best match.
  Choice Best(const ParseInput& in, uint32_t i, const RepeatQueue& q);
  // Enters positions [from, to) of the chunk.
  void EnterRange(const ParseInput& in, uint32_t from, uint32_t to, uint32_t stride);
  // The match finder's entry and search of folder position p.
  void Insert(const ParseInput& in, uint32_t p) {
    const uint8_t* cur = in.data + (p - in.base);
    if (buckets_) buckets_->Insert(cur, p, in.end - p);
    else tree_->Insert(cur, p, in.end - p, p - in.base);
  }
  uint32_t Find(const ParseInput& in, uint32_t p, uint32_t limit, Match* out) {
    const uint8_t* cur = in.data + (p - in.base);
    if (buckets_) return buckets_->Find(cur, p, in.end - p, limit, p - in.base, out);
    return tree_->Find(cur, p, in.end - p, limit, p - in.base, out);
  }
  static constexpr uint32_t kMaxMatchesPerPosition =
      std::max(BucketMatchFinder::kMaxMatchesPerPosition, TreeMatchFinder::kMaxMatchesPerPosition);

  int numMain_;
  std::optional<BucketMatchFinder> buckets_;  // one of the two
  std::optional<TreeMatchFinder> tree_;
  uint32_t innerStride_;
  uint32_t niceLen_;
  uint32_t lookAhead_;
  CostModel model_;
  int optimalPasses_;
  uint32_t relaxLong_;
  uint32_t skipAfter_;
  uint32_t skipStride_;
  std::vector<uint32_t> litCost_;  // prefix sums of the chunk's literal costs
  std::vector<uint32_t> matchStart_;  // index of each position's first match; one more at the end
  std::vector<Match> matches_;
  std::vector<Node> nodes_;
  std::vector<RepeatQueue> queues_;  // the queue at each position the path search left from
};

}  // namespace bvq::cab::lzx
