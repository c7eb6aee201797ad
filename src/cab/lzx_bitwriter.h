#pragma once
// Writes an LZX bit stream: bits are packed most significant first into 16-bit words,
// each word stored little-endian.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bvq::cab::lzx {

class BitWriter {
 public:
  // Appends the low `count` bits of `bits` (count <= 32). Words are stored two at a time;
  // up to 31 bits wait in the accumulator.
  void Put(uint32_t bits, int count) {
    acc_ = (acc_ << count) | (bits & static_cast<uint32_t>((uint64_t{1} << count) - 1));
    pending_ += count;
    if (pending_ >= 32) {
      pending_ -= 32;
      const auto w = static_cast<uint32_t>(acc_ >> pending_);
      const uint8_t bytes[4] = {static_cast<uint8_t>(w >> 16), static_cast<uint8_t>(w >> 24), static_cast<uint8_t>(w),
                                static_cast<uint8_t>(w >> 8)};
      out_.insert(out_.end(), bytes, bytes + 4);
    }
  }
  // Pads with zero bits to the next 16-bit boundary and stores every whole word.
  void AlignWord() {
    if (pending_ & 15) Put(0, 16 - (pending_ & 15));
    StoreWords();
  }
  bool Aligned() const { return (pending_ & 15) == 0; }
  // Raw bytes, only at a word boundary.
  void PutByte(uint8_t b) {
    StoreWords();
    out_.push_back(b);
  }
  // Everything written, once aligned (AlignWord).
  std::vector<uint8_t>& Bytes() { return out_; }
  void Clear() { out_.clear(); acc_ = 0; pending_ = 0; }

 private:
  void StoreWords() {
    while (pending_ >= 16) {
      pending_ -= 16;
      const auto word = static_cast<uint32_t>(acc_ >> pending_);
      out_.push_back(static_cast<uint8_t>(word));
      out_.push_back(static_cast<uint8_t>(word >> 8));
    }
  }

  std::vector<uint8_t> out_;
  uint64_t acc_ = 0;
  int pending_ = 0;
};

}  // namespace bvq::cab::lzx
