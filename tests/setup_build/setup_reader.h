#pragma once
// Built setups as the tests look at them: the program's setup reader (src/setup_reader) checks
// and reads the parts; the stored records and side files are then cut from the raw bytes here.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "setup_reader/setup_reader.h"
#include "setup_reader/setup_report.h"
#include "test_support.h"

namespace bvq::test {

inline uint64_t LittleEndian(const std::string& b, size_t at, int bytes) {
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
  return v;
}

struct ReadSetup {
  bool ok = false;
  std::string error;
  uint64_t s0 = 0, dataSize = 0, s1 = 0, s2 = 0;
  int storage = -1, sideFiles = -1;
  std::vector<std::string> script;
  std::string dataBlock;
  std::string payload;  // all volumes' payload bytes, in order
};

// Reads volume 0 and its further volumes through the program's setup reader, which checks the
// trailer, the offsets, the script and every cabinet; `more` names the volumes expected after
// the first, in order.
inline ReadSetup ReadSetupFiles(const std::string& setup, const std::vector<std::string>& more = {}) {
  ReadSetup r;
  SetupReader reader;
  const SetupContents& c = reader.Read(setup);
  if (c.verdict != SetupVerdict::Whole) return r.error = SetupProblemLines(c), r;
  if (c.volumes.size() != more.size() + 1) return r.error = "volume count " + std::to_string(c.volumes.size()), r;
  for (size_t i = 0; i < more.size(); ++i)
    if (c.volumes[i + 1].path != more[i]) return r.error = "volume " + c.volumes[i + 1].path, r;
  r.s0 = c.trailer.scriptStart;
  r.dataSize = c.trailer.dataBlockSize;
  r.s1 = c.trailer.dataStart;
  r.s2 = c.trailer.payloadStart;
  r.storage = c.trailer.cabinets ? 1 : 0;
  r.sideFiles = c.trailer.sideFileCount;
  r.script = c.script;
  r.dataBlock = reader.DataBlockBytes();
  r.payload = reader.PayloadBytes();
  r.ok = true;
  return r;
}

struct StoredRecord {
  uint32_t number = 0;
  uint64_t size = 0, time = 0;
  uint32_t attributes = 0;
  std::string bytes;
};

inline std::vector<StoredRecord> StoredPayloadRecords(const std::string& payload) {
  std::vector<StoredRecord> records;
  size_t at = 0;
  while (at + 24 <= payload.size()) {
    StoredRecord rec;
    rec.number = static_cast<uint32_t>(LittleEndian(payload, at, 4));
    rec.size = LittleEndian(payload, at + 4, 8);
    rec.time = LittleEndian(payload, at + 12, 8);
    rec.attributes = static_cast<uint32_t>(LittleEndian(payload, at + 20, 4));
    rec.bytes = payload.substr(at + 24, rec.size);
    at += 24 + rec.size;
    records.push_back(rec);
  }
  if (at != payload.size()) records.push_back(StoredRecord{0xFFFFFFFF, 0, 0, 0, "trailing bytes"});
  return records;
}

// Stored data block: name, 0, decimal size, 0, bytes.
inline std::vector<std::pair<std::string, std::string>> StoredSideFiles(const std::string& block) {
  std::vector<std::pair<std::string, std::string>> files;
  size_t at = 0;
  while (at < block.size()) {
    size_t z1 = block.find('\0', at);
    size_t z2 = block.find('\0', z1 + 1);
    if (z1 == std::string::npos || z2 == std::string::npos) break;
    std::string name = block.substr(at, z1 - at);
    size_t size = std::stoul(block.substr(z1 + 1, z2 - z1 - 1));
    files.emplace_back(name, block.substr(z2 + 1, size));
    at = z2 + 1 + size;
  }
  return files;
}

// Runs a command, returning its exit status and output.
inline int Run(const std::string& command, std::string* output = nullptr) {
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  int status = pclose(pipe);
  if (output) *output = out;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Cabinet-form payload: cut into cabinets by the script's fields 95 (full cabinet), 117
// (last index) and 118 (last size), each prefixed with "MSCF" again, written as 0000.tmp ...
// into `folder` (the names the cabinets link to). Returns the paths.
inline std::vector<std::string> RebuildPayloadCabinets(const ReadSetup& r, const std::string& folder) {
  std::vector<std::string> paths;
  const uint64_t full = std::stoull(r.script[95]);
  const int last = std::stoi(r.script[117]);
  const uint64_t lastSize = std::stoull(r.script[118]);
  uint64_t at = 0;
  for (int i = 0; i <= last; ++i) {
    uint64_t size = i == last ? lastSize : full;
    char name[32];
    std::snprintf(name, sizeof name, "%04d.tmp", i);
    paths.push_back(folder + name);
    WriteFile(paths.back(), "MSCF" + r.payload.substr(at, size));
    at += size;
  }
  if (at != r.payload.size()) paths.push_back("payload size mismatch");
  return paths;
}

}  // namespace bvq::test
