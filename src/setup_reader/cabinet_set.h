#pragma once
// A chain of cabinets, read through libmspack (which decodes MSZIP and LZX and checks every
// data block's checksum). The cabinets come from byte ranges of a setup, each missing its
// first four bytes (the signature, put back here), so nothing is written to disk to read them.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bvq {

// One cabinet without its signature: `size` bytes read by `read`(offset, buffer, count).
struct CabinetBytes {
  uint64_t size = 0;
  std::function<bool(uint64_t, void*, size_t)> read;
};

struct CabinetEntry {
  std::string name;
  uint64_t size = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;  // as the cabinet records it
  int attributes = 0;
  int compression = 0;  // 0 none, 1 MSZIP, 2 Quantum, 3 LZX
};

// Receives extracted bytes; false stops the extraction as a write failure.
using CabinetSink = std::function<bool(const char*, size_t)>;

class CabinetSet {
 public:
  CabinetSet();
  ~CabinetSet();
  CabinetSet(const CabinetSet&) = delete;
  CabinetSet& operator=(const CabinetSet&) = delete;

  // Opens the cabinets in order, each continuing the one before. "" when they form one set,
  // else what is wrong and in which cabinet (counted from 0).
  std::string Open(std::vector<CabinetBytes> cabinets);
  const std::vector<CabinetEntry>& Entries() const { return entries_; }
  // Decodes entry `index` into `sink`; "" on success, else why not (a damaged block, a bad
  // checksum, a sink that refused).
  std::string Extract(size_t index, const CabinetSink& sink);

  struct System;  // libmspack's I/O callbacks over the byte ranges

 private:
  std::unique_ptr<System> system_;
  std::vector<CabinetEntry> entries_;
  std::vector<const void*> files_;  // libmspack's file records, parallel to entries_
};

}  // namespace bvq
