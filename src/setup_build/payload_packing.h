#pragma once
// Packing the payload into a chain of cabinets of at most 0x800004 bytes each, the files
// named by their payload numbers ("0", "1", ...).
#include <cstdint>
#include <string>
#include <vector>

#include <memory>

#include "setup_build/binary_file.h"
#include "setup_build/build_progress.h"
#include "setup_build/data_block.h"
#include "setup_build/payload_list.h"

namespace bvq {

constexpr uint32_t kPayloadCabinetSize = 0x800004;

struct PackedCabinets {
  std::vector<std::string> cabinets;  // Pack/0000.tmp, Pack/0001.tmp ... in the work folder
  uint64_t payloadSize = 0;           // sum of (cabinet size - 4)
};

// Packs with MSZIP (compression 1) or LZX (2), reporting per file (interface string 101 +
// file name as the last log line) and per compressed block (size text, progress). Returns
// false after a packing error or a cancel request, with the cancel request set.
bool PackPayloadCabinets(const PayloadList& payload, int compression, const std::string& workFolder,
                         BuildProgress& progress, PackedCabinets& packed);

// Writes the side files of the data block into one cabinet (never split) with the given
// compression, then appends it without its first four bytes to `setup`.
class CabinetSideFiles : public SideFileSink {
 public:
  CabinetSideFiles(const std::string& cabinetPath, int compression);
  ~CabinetSideFiles() override;
  void AddSideFile(const std::string& source, const std::string& name) override;
  // Flushes the cabinet and appends it; returns the bytes appended (cabinet size - 4).
  uint64_t AppendTo(BinaryFile& setup, BuildProgress& progress);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace bvq
