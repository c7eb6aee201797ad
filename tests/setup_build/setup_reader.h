#pragma once
// An independent reader of built setups for the tests: the trailer, the script values, the
// data block and the payload, following the published layout rather than the build's code.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

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

// Reads volume 0 and the further volumes `more` (in order).
inline ReadSetup ReadSetupFiles(const std::string& setup, const std::vector<std::string>& more = {}) {
  ReadSetup r;
  const std::string file = ReadFile(setup);
  if (file.size() < 36) return r.error = "too short", r;
  const size_t t = file.size() - 36;
  r.s0 = LittleEndian(file, t, 8);
  r.dataSize = LittleEndian(file, t + 8, 8);
  r.s1 = LittleEndian(file, t + 16, 8);
  r.s2 = LittleEndian(file, t + 24, 8);
  r.storage = static_cast<uint8_t>(file[t + 32]);
  r.sideFiles = static_cast<uint8_t>(file[t + 33]);
  if (static_cast<uint8_t>(file[t + 34]) != 120 || static_cast<uint8_t>(file[t + 35]) != 241) return r.error = "marks", r;
  if (!(r.s0 < r.s1 && r.s1 <= r.s2 && r.s2 <= t && r.dataSize == r.s2 - r.s1)) return r.error = "offsets", r;
  std::string script = file.substr(r.s0, r.s1 - r.s0);
  if (script.empty() || script.back() != '\0') return r.error = "script end", r;
  size_t start = 0;
  for (size_t i = 0; i < script.size(); ++i)
    if (script[i] == '\0') {
      r.script.push_back(script.substr(start, i - start));
      start = i + 1;
    }
  r.dataBlock = file.substr(r.s1, r.s2 - r.s1);
  r.payload = file.substr(r.s2, t - r.s2);
  for (const std::string& v : more) r.payload += ReadFile(v);
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
