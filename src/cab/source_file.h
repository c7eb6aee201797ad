#pragma once
// Opening a source file for a cabinet: its size, its DOS date and time (local time of
// the last write) and its attributes as a cabinet stores them.
#include <cstdint>
#include <string>

namespace bvq::cab {

// Attribute bits stored in CFFILE.attribs.
constexpr uint16_t kAttrReadOnly = 0x01;
constexpr uint16_t kAttrHidden = 0x02;
constexpr uint16_t kAttrSystem = 0x04;
constexpr uint16_t kAttrArchive = 0x20;
constexpr uint16_t kAttrExecute = 0x40;
// The attributes taken over from a source file.
constexpr uint16_t kSourceAttrMask = 0x27;

struct SourceFile {
  int fd = -1;
  uint64_t size = 0;
  uint16_t date = 0;
  uint16_t time = 0;
  uint16_t attribs = 0;
};

// Opens `path` for reading. Returns false with errno set when it cannot be opened or
// is not a regular file.
bool OpenSourceFile(const std::string& path, SourceFile& out);

// DOS date and time of a moment in local time, clamped to 1980-01-01 .. 2107-12-31.
void ToDosDateTime(int64_t unixSeconds, uint16_t& date, uint16_t& time);

}  // namespace bvq::cab
