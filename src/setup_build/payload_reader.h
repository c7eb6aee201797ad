#pragma once
// The payload as a sequence of pieces that volume writing streams into the volumes: the
// payload cabinets without their first four bytes, or the stored records (a 24-byte header
// and the file's bytes for each file).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "setup_build/binary_file.h"
#include "setup_build/build_progress.h"

namespace bvq {

constexpr size_t kStoredHeaderSize = 24;

class PayloadReader {
 public:
  virtual ~PayloadReader() = default;
  virtual size_t PieceCount() const = 0;
  // Opens piece `index` for reading from its start.
  virtual void OpenPiece(size_t index) = 0;
  // Copies up to `count` bytes of the open piece into `volume` (CopyBlock); returns the
  // number copied, 0 when the piece's source ended early.
  virtual uint64_t CopyFromPiece(BinaryFile& volume, uint64_t count, BuildProgress& progress) = 0;
  virtual bool PieceExhausted() const = 0;
  // Closes the open piece; a cabinet is deleted once copied.
  virtual void ClosePiece() = 0;
};

// Cabinets, each read from offset 4 (after the signature) and deleted when copied.
std::unique_ptr<PayloadReader> MakeCabinetPayloadReader(std::vector<std::string> cabinets);

// Stored records for the files, numbered 0, 1, ... in order: file number (32 bits), size (64),
// last-write time as a Windows file time (64), attributes (32), all little-endian, then the
// bytes. The size is taken when the file is opened; a file shorter than that ends its piece
// early. Source files are never changed.
std::unique_ptr<PayloadReader> MakeStoredPayloadReader(std::vector<std::string> sources);

// The 24-byte header of a stored record.
std::string StoredRecordHeader(uint32_t number, uint64_t size, uint64_t fileTime, uint32_t attributes);

}  // namespace bvq
