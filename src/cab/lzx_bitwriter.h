#pragma once
// Writes an LZX bit stream: bits are packed most significant first into 16-bit words,
// each word stored little-endian.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bvq::cab::lzx {

class BitWriter {
 public:
  // Appends the low `count` bits of `bits` (count <= 32).
  void Put(uint32_t bits, int count) {
    if (count == 0) return;
    acc_ = (acc_ << count) | (bits & ((count == 32) ? 0xFFFFFFFFu : ((1u << count) - 1)));
    pending_ += count;
    while (pending_ >= 16) {
      pending_ -= 16;
      uint32_t word = static_cast<uint32_t>(acc_ >> pending_) & 0xFFFF;
      out_.push_back(static_cast<uint8_t>(word));
      out_.push_back(static_cast<uint8_t>(word >> 8));
    }
  }
  // Pads with zero bits to the next 16-bit boundary.
  void AlignWord() {
    if (pending_ > 0) Put(0, 16 - pending_);
  }
  bool Aligned() const { return pending_ == 0; }
  // Raw bytes, only at a word boundary.
  void PutByte(uint8_t b) { out_.push_back(b); }
  size_t BitCount() const { return out_.size() * 8 + static_cast<size_t>(pending_); }
  std::vector<uint8_t>& Bytes() { return out_; }
  void Clear() { out_.clear(); acc_ = 0; pending_ = 0; }

 private:
  std::vector<uint8_t> out_;
  uint64_t acc_ = 0;
  int pending_ = 0;
};

}  // namespace bvq::cab::lzx
