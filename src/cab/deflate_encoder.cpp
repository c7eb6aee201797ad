#include "cab/deflate_encoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "cab/deflate_block_writer.h"
#include "cab/deflate_format.h"

namespace bvq::cab::deflate {
namespace {

constexpr int kHashBits = 16;
constexpr uint32_t kChainMask = kMaxDistance - 1;
inline uint16_t ChainStep(uint32_t back) { return uint16_t(std::min<uint32_t>(back, 0xFFFF)); }
// Head entries start here: farther back than any distance, whatever the position.
constexpr int32_t kNoPosition = -int32_t(2 * kMaxDistance);
// The search compares four bytes before looking further, so it finds no match shorter.
constexpr uint32_t kMinSearched = 4;
// Matches of three bytes come from a table of the last position of each three-byte
// string, and only from near: far ones cost more than the literals they replace.
constexpr int kHash3Bits = 12;
constexpr uint32_t kNear3 = 4096;

inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}
inline uint32_t Hash4(const uint8_t* p) { return (Load32(p) * 0x9E3779B1u) >> (32 - kHashBits); }
inline uint32_t Hash3(const uint8_t* p) { return ((Load32(p) & 0xFFFFFF) * 0x9E3779B1u) >> (32 - kHash3Bits); }

// Length of the common prefix of a and b, knowing the first four bytes agree; at most
// `limit`. Reads up to 7 bytes past a + limit.
inline uint32_t MatchLength(const uint8_t* a, const uint8_t* b, uint32_t limit) {
  for (uint32_t len = 4; len < limit; len += 8) {
    const uint64_t x = Load64(a + len) ^ Load64(b + len);
    if (x) return std::min(limit, len + uint32_t(__builtin_ctzll(x) >> 3));
  }
  return limit;
}

}  // namespace

struct Encoder::State {
  SearchEffort effort;
  const uint8_t* buf = nullptr;
  size_t inserted = 0;  // positions below this are in the hash chains
  std::vector<int32_t> head = std::vector<int32_t>(size_t(1) << kHashBits);
  // For each position (modulo 32 KB), the distance back to the one before it in its
  // chain. A step past the window ends the chain: from any position later, the step
  // leads out of the window, also when the entry's 32 KB-later position has replaced it.
  std::vector<uint16_t> chain = std::vector<uint16_t>(kMaxDistance);
  std::vector<int32_t> head3 = std::vector<int32_t>(size_t(1) << kHash3Bits);
  // The parse of the stretch being encoded.
  std::vector<Symbol> symbols = std::vector<Symbol>(size_t(1) << 16);
  size_t count = 0;
  void Add(Symbol s) { symbols[count++] = s; }

  void Insert(size_t pos) {
    head3[Hash3(buf + pos)] = int32_t(pos);
    int32_t& h = head[Hash4(buf + pos)];
    chain[pos & kChainMask] = ChainStep(uint32_t(int32_t(pos) - h));
    h = int32_t(pos);
  }
  // Enters positions up to `to` (exclusive) that still need their four bytes read; the
  // last three of a stretch are left out, their bytes lie beyond it.
  void InsertUpTo(size_t to) {
    for (; inserted < to; ++inserted) Insert(inserted);
  }

  struct Match {
    uint32_t length = 0, distance = 0;
  };

  // Enters `pos` and looks for a match there longer than `better` (and than 3), of at most
  // `limit` bytes, looking at up to `tries` earlier positions with the same hash.
  Match Find(size_t pos, uint32_t better, uint32_t limit, uint32_t tries) {
    const uint8_t* s = buf + pos;
    int32_t& h3 = head3[Hash3(s)];
    const uint32_t back3 = uint32_t(int32_t(pos) - h3);
    h3 = int32_t(pos);
    int32_t& h = head[Hash4(s)];
    int32_t cand = h;
    chain[pos & kChainMask] = ChainStep(uint32_t(int32_t(pos) - cand));
    h = int32_t(pos);
    inserted = pos + 1;
    Match best;
    const uint32_t first = Load32(s);
    if (better < 3 && limit >= 3 && back3 <= kNear3 && ((Load32(s - back3) ^ first) & 0xFFFFFF) == 0) best = {3, back3};
    uint32_t bestLen = std::max(better, kMinSearched - 1);
    if (limit <= bestLen) return best;
    // A longer match must agree on the four bytes that end at its length.
    uint32_t tail = Load32(s + bestLen - 3);
    for (const int32_t lowest = int32_t(pos) - int32_t(kMaxDistance); cand >= lowest; cand -= chain[size_t(cand) & kChainMask]) {
      const uint8_t* c = buf + cand;
      if (Load32(c + bestLen - 3) == tail && Load32(c) == first) {
        const uint32_t len = MatchLength(s, c, limit);
        if (len > bestLen) {
          bestLen = len;
          best = {len, uint32_t(int32_t(pos) - cand)};
          if (len >= effort.nice || len == limit) break;
          tail = Load32(s + bestLen - 3);
        }
      }
      if (--tries == 0) break;
    }
    return best;
  }

  // Lazy parse of [begin, end): a match is taken unless the next position has a longer one.
  void Parse(size_t begin, size_t end) {
    count = 0;
    InsertUpTo(begin);
    size_t pos = begin;
    while (pos < end) {
      const uint32_t limit = uint32_t(std::min<size_t>(kMaxMatch, end - pos));
      if (limit < kMinSearched) {
        Add(LiteralSymbol(buf[pos++]));
        continue;
      }
      Match m = Find(pos, 0, limit, effort.chain);
      if (m.length == 0) {
        Add(LiteralSymbol(buf[pos++]));
        continue;
      }
      while (m.length < effort.lazy && pos + 1 < end) {
        const uint32_t nextLimit = uint32_t(std::min<size_t>(kMaxMatch, end - pos - 1));
        if (nextLimit <= m.length) break;
        const Match next = Find(pos + 1, m.length, nextLimit, m.length >= effort.good ? effort.chain / 4 : effort.chain);
        if (next.length <= m.length) break;
        Add(LiteralSymbol(buf[pos++]));
        m = next;
      }
      Add(MatchSymbol(m.length, m.distance));
      pos += m.length;
      // Enter the positions the match covers, but none whose four bytes reach past the end
      // of the buffer part known to be readable data.
      InsertUpTo(std::min(pos, end >= 3 ? end - 3 : 0));
    }
  }
};

Encoder::Encoder(SearchEffort effort) : s_(std::make_unique<State>()) {
  s_->effort = effort;
}

Encoder::~Encoder() = default;

void Encoder::Start(const uint8_t* buffer, size_t historySize) {
  s_->buf = buffer;
  std::fill(s_->head.begin(), s_->head.end(), kNoPosition);
  std::fill(s_->head3.begin(), s_->head3.end(), kNoPosition);
  s_->inserted = 0;
  if (historySize >= 3) s_->InsertUpTo(historySize - 3);
}

size_t Encoder::Encode(size_t begin, size_t end, uint8_t* out) {
  s_->Parse(begin, end);
  return WriteStream(s_->symbols.data(), s_->count, s_->buf + begin, out);
}

}  // namespace bvq::cab::deflate
