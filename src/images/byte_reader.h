#pragma once
// Bounds-checked little-endian reading of file bytes, for the picture decoders.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace bvq::images {

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  size_t size() const { return bytes_.size(); }
  // Whether `count` bytes starting at `offset` lie inside the data.
  bool Has(size_t offset, size_t count) const { return offset <= bytes_.size() && count <= bytes_.size() - offset; }
  // Reads at `offset`; 0 when out of range (callers check Has first).
  uint8_t U8(size_t offset) const { return Has(offset, 1) ? uint8_t(bytes_[offset]) : 0; }
  uint16_t U16(size_t offset) const { return Has(offset, 2) ? uint16_t(U8(offset) | U8(offset + 1) << 8) : 0; }
  uint32_t U32(size_t offset) const {
    return Has(offset, 4) ? uint32_t(U16(offset)) | uint32_t(U16(offset + 2)) << 16 : 0;
  }
  int32_t I32(size_t offset) const { return int32_t(U32(offset)); }
  const uint8_t* Data(size_t offset) const { return reinterpret_cast<const uint8_t*>(bytes_.data()) + offset; }
  std::string_view Slice(size_t offset, size_t count) const { return bytes_.substr(offset, count); }

 private:
  std::string_view bytes_;
};

inline void PutU16(std::string& out, uint16_t v) {
  out.push_back(char(v & 0xFF));
  out.push_back(char(v >> 8));
}
inline void PutU32(std::string& out, uint32_t v) {
  PutU16(out, uint16_t(v & 0xFFFF));
  PutU16(out, uint16_t(v >> 16));
}

}  // namespace bvq::images
