#include "cab/deflate_block_writer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "cab/deflate_format.h"
#include "cab/huffman_code.h"

namespace bvq::cab::deflate {
namespace {

// The literal/length code has 288 symbols, of which the last two never occur; the fixed
// code gives them lengths too, so they count when its codes are assigned.
constexpr int kLitLenCodes = 288;

// Bits go in least significant first; 32 at a time to the output.
class BitSink {
 public:
  explicit BitSink(uint8_t* out) : p_(out) {}
  void Put(uint32_t bits, int count) {
    acc_ |= uint64_t(bits) << n_;
    n_ += count;
    if (n_ >= 32) {
      const uint32_t word = uint32_t(acc_);
      std::memcpy(p_, &word, 4);  // little-endian machine
      p_ += 4;
      acc_ >>= 32;
      n_ -= 32;
    }
  }
  // Writes the bits still held, padded with zeros to a byte; returns the end.
  uint8_t* Flush() {
    for (; n_ > 0; n_ -= 8, acc_ >>= 8) *p_++ = uint8_t(acc_);
    n_ = 0;
    return p_;
  }

 private:
  uint8_t* p_;
  uint64_t acc_ = 0;
  int n_ = 0;
};

uint16_t Reverse(uint16_t code, int len) {
  uint16_t r = 0;
  for (int i = 0; i < len; ++i, code >>= 1) r = uint16_t(r << 1 | (code & 1));
  return r;
}

// A Huffman code ready for writing: lengths and bit-reversed canonical codes.
template <int N>
struct Code {
  std::array<uint8_t, N> len{};
  std::array<uint16_t, N> bits{};
  void Build(const uint32_t* freq, int maxLen) {
    BuildCodeLengths(freq, N, maxLen, len.data());
    Assign();
  }
  void Assign() {
    BuildCodes(len.data(), N, bits.data());
    for (int i = 0; i < N; ++i) bits[i] = Reverse(bits[i], len[i]);
  }
  uint64_t Cost(const uint32_t* freq) const {
    uint64_t c = 0;
    for (int i = 0; i < N; ++i) c += uint64_t(freq[i]) * len[i];
    return c;
  }
};

const Code<kLitLenCodes>& FixedLitLen() {
  static const Code<kLitLenCodes> code = [] {
    Code<kLitLenCodes> c;
    for (int i = 0; i < kLitLenCodes; ++i) c.len[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    c.Assign();
    return c;
  }();
  return code;
}

const Code<kDistSymbols>& FixedDist() {
  static const Code<kDistSymbols> code = [] {
    Code<kDistSymbols> c;
    c.len.fill(5);
    c.Assign();
    return c;
  }();
  return code;
}

// Symbol counts of a stretch of the parse, and the extra bits its matches carry.
struct Counts {
  uint32_t litLen[kLitLenCodes] = {};
  uint32_t dist[kDistSymbols] = {};
  uint64_t extraBits = 0;
  size_t bytes = 0;  // uncompressed bytes the stretch stands for

  Counts() { litLen[kEndOfBlock] = 1; }
  Counts(const Symbol* s, const Symbol* end) : Counts() {
    for (; s != end; ++s) {
      if (*s < 512) {
        ++litLen[*s];
        ++bytes;
        continue;
      }
      const uint32_t len = *s & 511, d = *s >> 9;
      const int lc = LengthCode(len), dc = DistCode(d);
      ++litLen[257 + lc];
      ++dist[dc];
      extraBits += kLengthExtra[lc] + kDistExtra[dc];
      bytes += len;
    }
  }
  // The counts of this stretch followed by `next` (one end of block for both).
  Counts& operator+=(const Counts& next) {
    for (int i = 0; i < kLitLenCodes; ++i) litLen[i] += next.litLen[i];
    for (int i = 0; i < kDistSymbols; ++i) dist[i] += next.dist[i];
    --litLen[kEndOfBlock];
    extraBits += next.extraBits;
    bytes += next.bytes;
    return *this;
  }
};

// The code lengths of a dynamic block's two codes, run-length coded for its header.
struct Header {
  Code<kLitLenCodes> litLen;
  Code<kDistSymbols> dist;
  Code<kCodeLengthSymbols> lengths;
  int hlit = 257, hdist = 1, hclen = 4;
  std::vector<uint16_t> items;  // code-length symbol | extra bits value << 5
  uint64_t bits = 0;            // header size from the block type on

  explicit Header(const Counts& c) {
    litLen.Build(c.litLen, 15);
    dist.Build(c.dist, 15);
    hlit = kLitLenSymbols;
    while (hlit > 257 && litLen.len[hlit - 1] == 0) --hlit;
    hdist = kDistSymbols;
    while (hdist > 1 && dist.len[hdist - 1] == 0) --hdist;
    uint32_t freq[kCodeLengthSymbols] = {};
    Runs(litLen.len.data(), hlit, freq);
    Runs(dist.len.data(), hdist, freq);
    lengths.Build(freq, 7);
    hclen = kCodeLengthSymbols;
    while (hclen > 4 && lengths.len[kCodeLengthOrder[hclen - 1]] == 0) --hclen;
    bits = 3 + 5 + 5 + 4 + 3 * uint64_t(hclen) + lengths.Cost(freq);
    for (uint16_t item : items) bits += kCodeLengthExtra[item & 31];
  }

  // Run-length codes `n` lengths: 16 repeats the previous length 3-6 times, 17 and 18
  // give 3-10 and 11-138 zeros.
  void Runs(const uint8_t* len, int n, uint32_t* freq) {
    auto add = [&](int sym, int extra) {
      items.push_back(uint16_t(sym | extra << 5));
      ++freq[sym];
    };
    for (int i = 0; i < n;) {
      const uint8_t v = len[i];
      int run = 1;
      while (i + run < n && len[i + run] == v) ++run;
      i += run;
      if (v == 0) {
        for (; run >= 11; run -= std::min(run, 138)) add(18, std::min(run, 138) - 11);
        if (run >= 3) {
          add(17, run - 3);
          run = 0;
        }
        for (; run > 0; --run) add(0, 0);
      } else {
        add(v, 0);
        --run;
        for (; run >= 3; run -= std::min(run, 6)) add(16, std::min(run, 6) - 3);
        for (; run > 0; --run) add(v, 0);
      }
    }
  }

  void Write(BitSink& out) const {
    out.Put(uint32_t(hlit - 257), 5);
    out.Put(uint32_t(hdist - 1), 5);
    out.Put(uint32_t(hclen - 4), 4);
    for (int i = 0; i < hclen; ++i) out.Put(lengths.len[kCodeLengthOrder[i]], 3);
    for (uint16_t item : items) {
      const int sym = item & 31;
      out.Put(lengths.bits[sym], lengths.len[sym]);
      if (kCodeLengthExtra[sym]) out.Put(item >> 5, kCodeLengthExtra[sym]);
    }
  }
};

void WriteSymbols(BitSink& out, const Symbol* s, const Symbol* end, const Code<kLitLenCodes>& lit,
                  const Code<kDistSymbols>& dist) {
  for (; s != end; ++s) {
    if (*s < 512) {
      out.Put(lit.bits[*s], lit.len[*s]);
      continue;
    }
    const uint32_t len = *s & 511, d = *s >> 9;
    const int lc = LengthCode(len), dc = DistCode(d);
    out.Put(lit.bits[257 + lc], lit.len[257 + lc]);
    if (kLengthExtra[lc]) out.Put(len - kLengthBase[lc], kLengthExtra[lc]);
    out.Put(dist.bits[dc], dist.len[dc]);
    if (kDistExtra[dc]) out.Put(d - kDistBase[dc], kDistExtra[dc]);
  }
  out.Put(lit.bits[kEndOfBlock], lit.len[kEndOfBlock]);
}

// A stretch of the parse planned as one deflate block, with the cheapest way to code it.
struct Piece {
  const Symbol* begin;
  const Symbol* end;
  Counts counts;
  Header dynamic;
  uint64_t fixedBits, dynamicBits;
  uint64_t storedBits;  // counting the most padding the block can need

  Piece(const Symbol* b, const Symbol* e, const Counts& c)
      : begin(b), end(e), counts(c), dynamic(counts),
        fixedBits(3 + FixedLitLen().Cost(counts.litLen) + FixedDist().Cost(counts.dist) + counts.extraBits),
        dynamicBits(dynamic.bits + dynamic.litLen.Cost(counts.litLen) + dynamic.dist.Cost(counts.dist) + counts.extraBits),
        storedBits(3 + 7 + 32 + 8 * uint64_t(counts.bytes)) {}
  uint64_t Bits() const { return std::min({fixedBits, dynamicBits, storedBits}); }
};

// A stream is cut into at most kLeaves blocks, at leaf boundaries: equal shares of its
// symbols, each counted once. Leaves shorter than kMinLeafSymbols are not made: their own
// code tables would cost more than the better fit of the codes gains.
constexpr int kSplitDepth = 2;
constexpr size_t kLeaves = size_t(1) << kSplitDepth;
constexpr size_t kMinLeafSymbols = 1024;

class Planner {
 public:
  Planner(const Symbol* begin, size_t n) {
    leaves_ = 1;
    while (leaves_ < kLeaves && n / (2 * leaves_) >= kMinLeafSymbols) leaves_ *= 2;
    for (size_t i = 0; i <= leaves_; ++i) bound_[i] = begin + n * i / leaves_;
    for (size_t i = 0; i < leaves_; ++i) leaf_[i] = Counts(bound_[i], bound_[i + 1]);
  }

  std::vector<std::unique_ptr<Piece>> Plan() {
    std::vector<std::unique_ptr<Piece>> pieces;
    Plan(Make(0, leaves_), 0, leaves_, pieces);
    return pieces;
  }

 private:
  std::unique_ptr<Piece> Make(size_t a, size_t b) const {
    Counts c = leaf_[a];
    for (size_t i = a + 1; i < b; ++i) c += leaf_[i];
    return std::make_unique<Piece>(bound_[a], bound_[b], c);
  }

  // Cuts the piece of leaves [a, b) in halves as long as two blocks with codes of their
  // own come out smaller than one.
  void Plan(std::unique_ptr<Piece> whole, size_t a, size_t b, std::vector<std::unique_ptr<Piece>>& pieces) {
    if (b - a >= 2) {
      const size_t mid = (a + b) / 2;
      auto left = Make(a, mid), right = Make(mid, b);
      if (left->Bits() + right->Bits() < whole->Bits()) {
        Plan(std::move(left), a, mid, pieces);
        Plan(std::move(right), mid, b, pieces);
        return;
      }
    }
    pieces.push_back(std::move(whole));
  }

  size_t leaves_;
  const Symbol* bound_[kLeaves + 1];
  Counts leaf_[kLeaves];
};

}  // namespace

size_t WriteStream(const Symbol* symbols, size_t count, const uint8_t* data, uint8_t* out) {
  const std::vector<std::unique_ptr<Piece>> pieces = Planner(symbols, count).Plan();
  BitSink bits(out);
  for (size_t i = 0; i < pieces.size(); ++i) {
    const Piece& p = *pieces[i];
    const uint32_t final = i + 1 == pieces.size() ? 1 : 0;
    if (p.storedBits <= std::min(p.fixedBits, p.dynamicBits)) {
      // Stored: header, padding to the byte, LEN and NLEN, the bytes themselves.
      const uint32_t n = uint32_t(p.counts.bytes);
      bits.Put(final, 3);
      uint8_t* at = bits.Flush();
      at[0] = uint8_t(n);
      at[1] = uint8_t(n >> 8);
      at[2] = uint8_t(~n);
      at[3] = uint8_t(~n >> 8);
      std::memcpy(at + 4, data, n);
      bits = BitSink(at + 4 + n);
    } else if (p.fixedBits <= p.dynamicBits) {
      bits.Put(final | 1 << 1, 3);
      WriteSymbols(bits, p.begin, p.end, FixedLitLen(), FixedDist());
    } else {
      bits.Put(final | 2 << 1, 3);
      p.dynamic.Write(bits);
      WriteSymbols(bits, p.begin, p.end, p.dynamic.litLen, p.dynamic.dist);
    }
    data += p.counts.bytes;
  }
  return size_t(bits.Flush() - out);
}

}  // namespace bvq::cab::deflate
