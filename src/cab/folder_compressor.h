#pragma once
// The contract between the cabinet writer and the compressors of a cabinet folder.
// A compressor turns the uncompressed data of one folder into CFDATA payloads.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace bvq::cab {

// Largest uncompressed size of one CFDATA block.
constexpr uint32_t kMaxBlockUncompressed = 32768;
// Largest compressed payload a CFDATA block may carry (data plus worst-case growth).
constexpr uint32_t kMaxBlockCompressed = 32768 + 6144;

// Receives one finished CFDATA payload: the compressed bytes and the number of
// uncompressed bytes they stand for (at most kMaxBlockUncompressed).
using BlockSink = std::function<void(const uint8_t* compressed, size_t compressedSize,
                                     uint32_t uncompressedSize)>;

class FolderCompressor {
 public:
  virtual ~FolderCompressor() = default;
  // Feeds uncompressed bytes of the folder. May emit any number of blocks through the
  // sink; every block but the folder's last stands for exactly kMaxBlockUncompressed bytes.
  virtual void Write(const uint8_t* data, size_t size) = 0;
  // Ends the folder: emits every block still held, the last one possibly shorter.
  // The compressor is then ready for a new folder (fresh history).
  virtual void Finish() = 0;
};

// Factories; `sink` stays valid for the compressor's lifetime.
std::unique_ptr<FolderCompressor> MakeStoredCompressor(BlockSink sink);
std::unique_ptr<FolderCompressor> MakeMsZipCompressor(BlockSink sink);
// windowBits 15..21: the LZX window is 2^windowBits bytes.
std::unique_ptr<FolderCompressor> MakeLzxCompressor(BlockSink sink, int windowBits);

}  // namespace bvq::cab
