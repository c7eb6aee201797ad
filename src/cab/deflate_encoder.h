#pragma once
// A raw deflate encoder for MSZIP blocks: each call encodes one stretch of a buffer as a
// complete deflate stream (its last block flagged final) whose matches may reach up to
// 32 KB back, into the stretches before it. The parse is lazy; matches come from chains of
// positions that share the hash of their first four bytes, and matches of three bytes from
// the last position of each three-byte string, when it is near.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace bvq::cab::deflate {

// How hard the match search tries; the defaults are the "Normal" build's.
struct SearchEffort {
  uint32_t chain = 64;  // candidates looked at a position
  uint32_t good = 4;    // after a match this long, a quarter of the chain for the next one
  uint32_t lazy = 48;   // matches shorter than this are checked against the next position
  uint32_t nice = 128;  // a match this long ends the search
};

class Encoder {
 public:
  explicit Encoder(SearchEffort effort = {});
  ~Encoder();
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  // Starts on a new buffer; its first `historySize` bytes (at most 32 KB) are only a window
  // for what follows. The buffer must stay valid and unchanged while it is encoded, and
  // readable for 16 bytes past the end of the last stretch encoded.
  void Start(const uint8_t* buffer, size_t historySize);

  // Encodes buffer[begin, end) (at most 65,535 bytes, each stretch right after the one
  // before, the first at historySize) as a complete deflate stream into `out`, and returns
  // its size in bytes. `out` must hold MaxEncodedSize(end - begin) bytes.
  size_t Encode(size_t begin, size_t end, uint8_t* out);

  // Largest stream Encode writes for `size` bytes: a stored block of them.
  static size_t MaxEncodedSize(size_t size) { return size + 5 + 8; }

 private:
  struct State;
  std::unique_ptr<State> s_;
};

}  // namespace bvq::cab::deflate
