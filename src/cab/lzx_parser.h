#pragma once
// Turns the data of a folder into LZX items (literals and matches), chunk by chunk.
#include <array>
#include <cstdint>
#include <vector>

#include "cab/lzx_block.h"

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
// before `start` is history; nothing at or after `end` exists yet.
struct ParseInput {
  const uint8_t* data;
  uint32_t base;
  uint32_t start;
  uint32_t end;
};

class Parser {
 public:
  virtual ~Parser() = default;
  // Forgets all history (new folder).
  virtual void Reset() = 0;
  // Parses [in.start, in.end). Matches never cross a frame boundary (a multiple of
  // kFrameSize in folder positions). `queue` is the state before and is left as after.
  virtual void Parse(const ParseInput& in, RepeatQueue& queue, std::vector<Item>& out) = 0;
};

}  // namespace bvq::cab::lzx

#include <memory>
namespace bvq::cab::lzx {
std::unique_ptr<Parser> MakeLazyParser(int windowBits);

struct ParserTuning {
  uint32_t maxDepth = 32;  // tree nodes visited per position
  uint32_t niceLen = 64;   // a match this long is taken without looking further
  int passes = 2;          // shortest-path passes, each with the costs of the one before
};
std::unique_ptr<Parser> MakeOptimalParser(int windowBits, const ParserTuning& tuning);
}  // namespace bvq::cab::lzx
