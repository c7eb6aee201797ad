#pragma once
// Test helpers for the LZX encoder: a minimal single-folder cabinet around the blocks of one
// compressor run, and checks of such cabinets with libmspack and cabextract.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "cab/lzx_parser.h"

namespace bvq::cab::lzxtest {

struct TestFile {
  std::string name;
  std::vector<uint8_t> data;
};

// Compresses the files, in order, as one LZX folder with the given window and search
// effort, feeding the compressor in pieces of `feed` bytes. Returns the cabinet's bytes.
std::vector<uint8_t> MakeLzxCabinet(const std::vector<TestFile>& files, int windowBits, size_t feed = 65536,
                                    size_t* dataBlocks = nullptr, const lzx::ParserTuning& tuning = {});

// Extracts every file with libmspack's cabinet decompressor; returns "" when all files match,
// else a description of the first difference or error.
std::string CheckWithLibmspack(const std::string& cabPath, const std::vector<TestFile>& files);

// Runs `cabextract -t` and then extracts with cabextract into a fresh folder and compares.
std::string CheckWithCabextract(const std::string& cabPath, const std::vector<TestFile>& files);

// Text-like bytes: words of a small vocabulary, with a random byte now and then, so that
// there are repeats at every distance.
std::vector<uint8_t> WordSample(size_t n, uint32_t seed);

// A copy of `data` that ends where an unreadable page begins, so that a read past the
// known bytes faults instead of passing unseen.
class GuardedCopy {
 public:
  explicit GuardedCopy(const std::vector<uint8_t>& data);
  ~GuardedCopy();
  GuardedCopy(const GuardedCopy&) = delete;
  GuardedCopy& operator=(const GuardedCopy&) = delete;
  const uint8_t* data() const { return bytes_; }

 private:
  uint8_t* map_ = nullptr;
  uint8_t* bytes_ = nullptr;
  size_t span_ = 0;
};

std::string TempDir();
void WriteFile(const std::string& path, const std::vector<uint8_t>& data);
std::vector<uint8_t> ReadFile(const std::string& path);

}  // namespace bvq::cab::lzxtest
