#pragma once
// Near-optimal parsing of LZX: the matches of every position of a chunk are found once
// with the binary-tree match finder, then a shortest-path search over the chunk picks
// literals, matches and repeated-offset matches by their cost in bits under Huffman codes
// built from the statistics of the parse before. The repeated-offset queue is carried
// along each path.
#include <array>
#include <cstdint>
#include <vector>

#include "cab/lzx_block.h"
#include "cab/lzx_matchfinder.h"

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

// The matches found for every position of one chunk.
struct MatchCache {
  std::vector<uint32_t> first;  // index of each position's first match; one more at the end
  std::vector<Match> matches;
};

// Search effort. The defaults trade a few per cent of size for about half the time of
// a deep search (depth 16, nice length 128); see bench/lzx-bench.sh.
struct ParserTuning {
  uint32_t maxDepth = 8;  // tree nodes visited per position
  uint32_t niceLen = 64;  // a match this long is taken without looking further
  uint32_t skipLen = 64;  // positions inside a match this long are not searched (<= niceLen)
  int passes = 1;         // shortest-path passes per chunk, each with the costs of the one before
};

class Parser {
 public:
  Parser(int windowBits, const ParserTuning& tuning);
  // Forgets all history (new folder).
  void Reset();
  // Finds the matches of the chunk; chunks must come in folder order. Touches only the
  // match finder and `cache`, so it may run beside Parse of the chunk before.
  void FindMatches(const ParseInput& in, MatchCache& cache);
  // Chooses the items of a chunk whose matches are in `cache`. Matches never cross a frame
  // boundary (a multiple of kFrameSize in folder positions). `queue` is the state before
  // and is left as after.
  void Parse(const ParseInput& in, const MatchCache& cache, RepeatQueue& queue, std::vector<Item>& out);

 private:
  struct CostModel {
    static constexpr uint32_t kScale = 16;  // costs in 1/16 bit
    uint32_t main[kMaxMainSymbols];
    uint32_t length[kNumLengthSymbols];
    uint32_t aligned[kNumAlignedSymbols];
    bool useAligned = false;

    void SetDefaults(int numMain);
    void SetFromStats(const BlockStats& s, int numMain);
    // Cost of the offset footer of a match with formatted offset `f` in slot `slot`.
    uint32_t Footer(int slot, uint32_t f) const {
      uint32_t extra = kSlots.extraBits[slot];
      if (useAligned && extra >= 3) return (extra - 3) * kScale + aligned[(f - kSlots.base[slot]) & 7];
      return extra * kScale;
    }
    // Cost of the main symbol and length of a match of `len` bytes in slot `slot`.
    uint32_t Symbol(int slot, uint32_t len) const {
      uint32_t lh = len - kMinMatch;
      if (lh < kNumPrimaryLengths) return main[kNumChars + slot * 8 + lh];
      return main[kNumChars + slot * 8 + kNumPrimaryLengths] + length[lh - kNumPrimaryLengths];
    }
  };
  struct Node {
    uint32_t cost;
    uint32_t len;    // item that ends here: 0 literal, else match length
    uint32_t value;  // literal byte or formatted offset
    uint32_t r[kNumRepeats];
  };

  void EstimateLiteralCosts(const ParseInput& in);
  void ShortestPath(const ParseInput& in, const MatchCache& cache, RepeatQueue& q, std::vector<Item>& out);
  void Relax(uint32_t j, uint32_t cost, uint32_t len, uint32_t value, const uint32_t* r) {
    Node& nd = nodes_[j];
    if (cost < nd.cost) {
      nd.cost = cost;
      nd.len = len;
      nd.value = value;
      nd.r[0] = r[0];
      nd.r[1] = r[1];
      nd.r[2] = r[2];
    }
  }

  int numMain_;
  BtMatchFinder mf_;
  uint32_t niceLen_;
  uint32_t skipLen_;
  int passes_;
  CostModel model_;
  double literalShare_ = 1.0;  // literals among the main symbols of the last parse
  bool firstChunk_ = true;
  std::vector<Node> nodes_;
};

}  // namespace bvq::cab::lzx
