#include "setup_reader/setup_reader.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <cstring>
#include <ctime>

#include "project/variable_menu.h"
#include "project/variables.h"
#include "setup_build/payload_reader.h"
#include "util/code_page.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq {
namespace {

constexpr size_t kTrailerSize = kSetupTrailerSize;
constexpr uint64_t kMaxScriptSize = 256ull << 20;
constexpr uint64_t kMaxVolumes = 10000;  // the build refuses more
constexpr size_t kMaxSideFiles = 255;    // counted in one byte

uint64_t Le(const unsigned char* p, int bytes) {
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

std::string TimeText(int y, int mo, int d, int h, int mi, int s) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
  return text;
}

void SetUnixTime(SetupPayloadFile& f, int64_t t) {
  f.unixTime = t;
  std::tm tm{};
  const time_t tt = static_cast<time_t>(t);
  if (gmtime_r(&tt, &tm))
    f.time = TimeText(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

// The variable names as authors write them: the variable menu's spelling where it has one.
std::string VariableName(int number) {
  if (number >= kFirstUserVariable) return "%UserVariable" + std::to_string(number - kFirstUserVariable + 1) + "%";
  const std::string& reserved = ReservedVariables()[static_cast<size_t>(number)];
  if (reserved.empty()) return "";
  static const VariableMenu menu;
  for (const VariableMenuItem& item : menu.Items())
    if (!item.Separator && EqualsNoCase(item.Caption, reserved)) return item.Caption;
  return reserved;
}

// A setup truncated before its trailer still holds the builder's name in its script.
bool HoldsBuilderMark(const VolumeChain& chain) {
  const std::string mark = std::string(1, '\0') + kBuilderPrefix;
  std::string window;
  std::vector<char> piece(static_cast<size_t>(std::min<uint64_t>(1 << 20, chain.ContentEnd())));
  for (uint64_t at = 0; at < chain.ContentEnd();) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(piece.size(), chain.ContentEnd() - at));
    if (!chain.ReadSetup(at, piece.data(), n)) return false;
    window.append(piece.data(), n);
    if (window.find(mark) != std::string::npos) return true;
    window.erase(0, window.size() > mark.size() ? window.size() - mark.size() : 0);
    at += n;
  }
  return false;
}

}  // namespace

std::string SetupContents::Field(int number) const {
  return number >= 0 && static_cast<size_t>(number) < script.size() ? script[static_cast<size_t>(number)] : "";
}

std::string DestinationWithVariableNames(const std::string& destination) {
  std::string out;
  for (size_t i = 0; i < destination.size();) {
    if (destination.compare(i, 4, "@$&%") == 0 && i + 6 <= destination.size() &&
        std::isdigit(static_cast<unsigned char>(destination[i + 4])) &&
        std::isdigit(static_cast<unsigned char>(destination[i + 5]))) {
      const int number = (destination[i + 4] - '0') * 10 + (destination[i + 5] - '0');
      const std::string name = number >= 1 ? VariableName(number) : "";
      if (!name.empty()) {
        out += name;
        i += 6;
        continue;
      }
    }
    out += destination[i++];
  }
  return out;
}

SetupReader::SetupReader() = default;
SetupReader::~SetupReader() = default;

void SetupReader::Problem(std::string where, std::string what, SetupVerdict verdict) {
  contents_.problems.push_back({std::move(where), std::move(what)});
  if (contents_.verdict == SetupVerdict::Whole) contents_.verdict = verdict;
}

const SetupContents& SetupReader::Read(const std::string& path, bool decodeEverything) {
  contents_ = SetupContents{};
  contents_.path = path;
  std::string error;
  if (!chain_.OpenSetup(path, error)) {
    Problem(path, "cannot be read: " + error, SetupVerdict::NotOurs);
    return contents_;
  }
  contents_.signedFile = chain_.Signed();
  ReadTrailer();
  if (!Failed()) ReadScript();
  if (!Failed()) CollectVolumes();
  if (!Failed()) ReadDataBlock();
  if (!Failed()) ReadPayload();
  contents_.volumes = chain_.Volumes();
  // The payload's cabinets named the compression; without any, the data cabinet does.
  const bool trailerRead = !contents_.script.empty();
  if (trailerRead && !contents_.trailer.cabinets)
    contents_.compression = "none (stored)";
  else if (trailerRead && contents_.compression.empty() && dataCabinet_ && !dataCabinet_->Entries().empty())
    contents_.compression = dataCabinet_->Entries().front().compression == 3 ? "LZX" : "MSZIP";
  if (!Failed() && decodeEverything) DecodeEverything();
  return contents_;
}

void SetupReader::ReadTrailer() {
  const uint64_t end = chain_.ContentEnd();
  unsigned char raw[kTrailerSize];
  std::optional<SetupTrailer> trailer;
  if (end >= kTrailerSize && chain_.ReadSetup(end - kTrailerSize, raw, kTrailerSize) &&
      raw[34] == kTrailerLastScriptField)
    trailer = DecodeSetupTrailer(raw);
  if (!trailer) {
    if (HoldsBuilderMark(chain_))
      Problem("trailer", "the last 36 bytes are not a setup trailer: the file is truncated or damaged");
    else
      Problem(contents_.path, "is not a setup built by this program (no setup trailer at its end)",
              SetupVerdict::NotOurs);
    return;
  }
  if (raw[32] > 1) return Problem("trailer", "unknown storage form " + std::to_string(raw[32]) + " at byte 32");
  const SetupTrailer& t = *trailer;
  contents_.trailer = t;
  const uint64_t limit = end - kTrailerSize;
  if (!(t.scriptStart < t.dataStart && t.dataStart <= t.payloadStart && t.payloadStart <= limit))
    return Problem("trailer", "offsets S0=" + std::to_string(t.scriptStart) + " S1=" + std::to_string(t.dataStart) +
                                  " S2=" + std::to_string(t.payloadStart) + " do not fit a file whose trailer is at " +
                                  std::to_string(limit));
  if (t.dataBlockSize != t.payloadStart - t.dataStart)
    Problem("trailer", "data block size " + std::to_string(t.dataBlockSize) + " is not S2 - S1 = " +
                           std::to_string(t.payloadStart - t.dataStart));
  chain_.SetSetupPayload(t.payloadStart, limit - t.payloadStart);
}

void SetupReader::ReadScript() {
  const SetupTrailer& t = contents_.trailer;
  const uint64_t size = t.dataStart - t.scriptStart;
  const std::string where = "script (bytes " + std::to_string(t.scriptStart) + ".." + std::to_string(t.dataStart) + ")";
  if (size > kMaxScriptSize) return Problem(where, "is implausibly large");
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!chain_.ReadSetup(t.scriptStart, bytes.data(), bytes.size())) return Problem(where, "cannot be read");
  if (bytes.back() != '\0') return Problem(where, "does not end with a zero byte");
  for (size_t start = 0; start < bytes.size();) {
    const size_t zero = bytes.find('\0', start);
    contents_.script.push_back(bytes.substr(start, zero - start));
    start = zero + 1;
  }
  if (contents_.Field(kFieldBuilder).rfind(kBuilderPrefix, 0) != 0)
    return Problem("script field 0", "is \"" + AnsiToUtf8(contents_.Field(kFieldBuilder)) + "\", not this program's name");
  if (std::string why = LayOutScript(contents_.script, contents_.sections); !why.empty()) Problem(where, why);
}

void SetupReader::CollectVolumes() {
  unsigned long long totalSource = 0, files = 0;
  if (!ParseScriptNumber(contents_.Field(kFieldTotalSourceSize), totalSource) ||
      !ParseScriptNumber(contents_.Field(kFieldFileCount), files))
    return Problem("script fields 23 and 67", "the total source size or the file count is not a number");
  if (contents_.trailer.cabinets) {
    unsigned long long full = 0, last = 0, lastSize = 0;
    if (!ParseScriptNumber(contents_.Field(kFieldFullCabinetSize), full) ||
        !ParseScriptNumber(contents_.Field(kFieldLastCabinet), last) ||
        !ParseScriptNumber(contents_.Field(kFieldLastCabinetSize), lastSize) || full == 0 || last > 1000000 ||
        lastSize > full)
      return Problem("script fields 95, 117, 118", "the cabinet sizes are not usable numbers");
    expectedPayload_ = last * full + lastSize;
  } else {
    if (files > (1ull << 40) || totalSource > (1ull << 62)) return Problem("script fields 23 and 67", "are implausible");
    expectedPayload_ = totalSource + kStoredHeaderSize * files;
  }
  const bool singleFile = contents_.Field(kFieldSingleFile) == "1";
  if (singleFile || chain_.PayloadSize() >= expectedPayload_) return;
  // Further volumes lie beside the setup, named by the pattern with %I% as the disk number.
  const std::string folder = ExtractFilePath(contents_.path);
  const std::string pattern = contents_.Field(kFieldVolumePattern);
  for (uint64_t n = 1; chain_.PayloadSize() < expectedPayload_; ++n) {
    if (n >= kMaxVolumes) return Problem("volumes", "more than " + std::to_string(kMaxVolumes) + " volumes");
    const std::string name =
        NativePath(AnsiToUtf8(ReplaceAll(pattern, VariableCode(kVariableVolumeNumber), std::to_string(n + 1))));
    const std::string path = folder + name;
    std::string error;
    if (!chain_.AddVolume(path, error))
      return Problem("volume " + std::to_string(n + 1) + " (" + path + ")", "is missing or unreadable: " + error);
    if (chain_.Volumes().back().size == 0)
      return Problem("volume " + std::to_string(n + 1) + " (" + path + ")", "is empty");
  }
}

void SetupReader::ReadDataBlock() {
  const SetupTrailer& t = contents_.trailer;
  const uint64_t size = t.payloadStart - t.dataStart;
  const std::string where = "data block (bytes " + std::to_string(t.dataStart) + ".." + std::to_string(t.payloadStart) + ")";
  if (t.cabinets && size > 0) {
    dataCabinet_ = std::make_unique<CabinetSet>();
    const uint64_t start = t.dataStart;
    const VolumeChain* chain = &chain_;
    std::string why = dataCabinet_->Open({CabinetBytes{size, [chain, start](uint64_t at, void* buf, size_t n) {
                                                         return chain->ReadSetup(start + at, buf, n);
                                                       }}});
    if (!why.empty()) return Problem(where, "the data cabinet " + why.substr(why.find(' ', 8) + 1));
    for (const CabinetEntry& e : dataCabinet_->Entries()) contents_.sideFiles.push_back({e.name, e.size});
  } else if (!t.cabinets) {
    uint64_t at = t.dataStart;
    while (at < t.payloadStart) {
      if (contents_.sideFiles.size() >= kMaxSideFiles) return Problem(where, "holds more side files than 255");
      char head[300];
      const size_t n = static_cast<size_t>(std::min<uint64_t>(sizeof head, t.payloadStart - at));
      if (!chain_.ReadSetup(at, head, n)) return Problem(where, "cannot be read");
      const std::string text(head, n);
      const size_t z1 = text.find('\0');
      const size_t z2 = z1 == std::string::npos ? z1 : text.find('\0', z1 + 1);
      unsigned long long fileSize = 0;
      if (z2 == std::string::npos || z1 == 0 || !ParseScriptNumber(text.substr(z1 + 1, z2 - z1 - 1), fileSize))
        return Problem(where + ", side file " + std::to_string(contents_.sideFiles.size() + 1),
                       "the record at byte " + std::to_string(at) + " has no name and decimal size");
      at += z2 + 1;
      if (fileSize > t.payloadStart - at)
        return Problem(where + ", side file " + text.substr(0, z1),
                       "its size " + std::to_string(fileSize) + " runs past the data block");
      contents_.sideFiles.push_back({text.substr(0, z1), fileSize});
      sideOffsets_.push_back(at);
      at += fileSize;
    }
  }
  if (contents_.sideFiles.size() != t.sideFileCount)
    Problem(where, "holds " + std::to_string(contents_.sideFiles.size()) + " side files, the trailer counts " +
                       std::to_string(t.sideFileCount));
}

void SetupReader::ReadPayload() {
  const uint64_t have = chain_.PayloadSize();
  if (have != expectedPayload_)
    return Problem("payload", "is " + std::to_string(have) + " bytes long across " +
                                  std::to_string(chain_.Volumes().size()) + " volume(s), the script accounts for " +
                                  std::to_string(expectedPayload_));
  // Section G: destination, mode, uninstall for each file.
  const ScriptSection& g = contents_.sections[6];
  for (size_t i = 0; i < g.entries; ++i) {
    SetupPayloadFile f;
    f.number = static_cast<uint32_t>(i);
    f.destination = contents_.script[g.first + i * g.width];
    f.mode = contents_.script[g.first + i * g.width + 1];
    f.uninstall = contents_.script[g.first + i * g.width + 2] == "1";
    contents_.files.push_back(f);
  }
  if (contents_.trailer.cabinets)
    ReadCabinetPayload();
  else
    ReadStoredPayload();
  unsigned long long totalSource = 0;
  ParseScriptNumber(contents_.Field(kFieldTotalSourceSize), totalSource);
  uint64_t sum = 0;
  for (const SetupPayloadFile& f : contents_.files) sum += f.size;
  if (!Failed() && sum != totalSource)
    Problem("script field 23", "total source size " + std::to_string(totalSource) + " but the payload files add up to " +
                                   std::to_string(sum));
}

void SetupReader::ReadStoredPayload() {
  uint64_t at = 0;
  const uint64_t total = chain_.PayloadSize();
  for (SetupPayloadFile& f : contents_.files) {
    const std::string where = "payload file " + std::to_string(f.number) + " (payload byte " + std::to_string(at) + ")";
    unsigned char head[kStoredHeaderSize];
    if (total - at < kStoredHeaderSize || !chain_.ReadPayload(at, head, sizeof head))
      return Problem(where, "its record header is missing");
    if (Le(head, 4) != f.number)
      return Problem(where, "its record header carries the number " + std::to_string(Le(head, 4)));
    f.size = Le(head + 4, 8);
    const uint64_t fileTime = Le(head + 12, 8);
    f.attributes = static_cast<uint32_t>(Le(head + 20, 4));
    SetUnixTime(f, static_cast<int64_t>(fileTime / 10000000) - static_cast<int64_t>(kUnixEpochAsFileTime / 10000000));
    at += kStoredHeaderSize;
    if (f.size > total - at) return Problem(where, "its size " + std::to_string(f.size) + " runs past the payload");
    storedOffsets_.push_back(at);
    at += f.size;
  }
  if (at != total) Problem("payload", std::to_string(total - at) + " bytes follow the last file's record");
}

void SetupReader::ReadCabinetPayload() {
  unsigned long long full = 0, last = 0, lastSize = 0;
  ParseScriptNumber(contents_.Field(kFieldFullCabinetSize), full);
  ParseScriptNumber(contents_.Field(kFieldLastCabinet), last);
  ParseScriptNumber(contents_.Field(kFieldLastCabinetSize), lastSize);
  // A build without any payload file writes no payload and names one cabinet of size 0.
  if (contents_.files.empty() && last == 0 && lastSize == 0) return;
  std::vector<CabinetBytes> cabinets;
  const VolumeChain* chain = &chain_;
  for (uint64_t i = 0; i <= last; ++i) {
    const uint64_t start = i * full;
    cabinets.push_back({i == last ? lastSize : full, [chain, start](uint64_t at, void* buf, size_t n) {
                          return chain->ReadPayload(start + at, buf, n);
                        }});
  }
  payloadCabinets_ = std::make_unique<CabinetSet>();
  if (std::string why = payloadCabinets_->Open(std::move(cabinets)); !why.empty())
    return Problem("payload", "payload " + why);
  const std::vector<CabinetEntry>& entries = payloadCabinets_->Entries();
  if (entries.size() != contents_.files.size())
    return Problem("payload", "the cabinets hold " + std::to_string(entries.size()) + " files, the script lists " +
                                  std::to_string(contents_.files.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    const CabinetEntry& e = entries[i];
    SetupPayloadFile& f = contents_.files[i];
    if (e.name != std::to_string(i))
      return Problem("payload file " + std::to_string(i), "is named \"" + e.name + "\" in its cabinet");
    f.size = e.size;
    f.attributes = static_cast<uint32_t>(e.attributes);
    f.time = TimeText(e.year, e.month, e.day, e.hour, e.minute, e.second);
    std::tm tm{};
    tm.tm_year = e.year - 1900, tm.tm_mon = e.month - 1, tm.tm_mday = e.day;
    tm.tm_hour = e.hour, tm.tm_min = e.minute, tm.tm_sec = e.second;
    tm.tm_isdst = -1;
    f.unixTime = mktime(&tm);  // cabinets record local time
  }
  if (!entries.empty()) contents_.compression = entries.front().compression == 3 ? "LZX" : "MSZIP";
}

void SetupReader::DecodeEverything() {
  for (size_t i = 0; i < contents_.sideFiles.size(); ++i) {
    uint64_t count = 0;
    std::string why = ExtractSideFile(i, [&count](const char*, size_t n) { return count += n, true; });
    if (why.empty() && count != contents_.sideFiles[i].size) why = "decodes to " + std::to_string(count) + " bytes";
    if (!why.empty()) Problem("data block, side file " + contents_.sideFiles[i].name, why);
  }
  for (size_t i = 0; i < contents_.files.size(); ++i) {
    uint64_t count = 0;
    std::string why = ExtractFile(i, [&count](const char*, size_t n) { return count += n, true; });
    if (why.empty() && count != contents_.files[i].size) why = "decodes to " + std::to_string(count) + " bytes";
    if (!why.empty())
      Problem("payload file " + std::to_string(i) + " (" + AnsiToUtf8(DestinationWithVariableNames(contents_.files[i].destination)) + ")", why);
  }
}

namespace {
// Streams `size` bytes from `read` into `sink` in pieces.
template <typename Read>
std::string CopyRange(uint64_t size, Read read, const CabinetSink& sink) {
  std::vector<char> piece(61440);
  for (uint64_t at = 0; at < size;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(piece.size(), size - at));
    if (!read(at, piece.data(), n)) return "ends early";
    if (!sink(piece.data(), n)) return "could not be written out";
    at += n;
  }
  return "";
}
}  // namespace

std::string SetupReader::ExtractFile(size_t index, const CabinetSink& sink) {
  if (index >= contents_.files.size()) return "no such file";
  if (payloadCabinets_) return payloadCabinets_->Extract(index, sink);
  if (index >= storedOffsets_.size()) return "cannot be read";
  const uint64_t start = storedOffsets_[index];
  return CopyRange(contents_.files[index].size,
                   [&](uint64_t at, char* buf, size_t n) { return chain_.ReadPayload(start + at, buf, n); }, sink);
}

std::string SetupReader::ExtractSideFile(size_t index, const CabinetSink& sink) {
  if (index >= contents_.sideFiles.size()) return "no such side file";
  if (dataCabinet_) return dataCabinet_->Extract(index, sink);
  if (index >= sideOffsets_.size()) return "cannot be read";
  const uint64_t start = sideOffsets_[index];
  return CopyRange(contents_.sideFiles[index].size,
                   [&](uint64_t at, char* buf, size_t n) { return chain_.ReadSetup(start + at, buf, n); }, sink);
}

std::string SetupReader::DataBlockBytes() const {
  const SetupTrailer& t = contents_.trailer;
  std::string bytes(static_cast<size_t>(t.payloadStart - t.dataStart), '\0');
  if (!chain_.ReadSetup(t.dataStart, bytes.data(), bytes.size())) return "";
  return bytes;
}

std::string SetupReader::PayloadBytes() const {
  std::string bytes(static_cast<size_t>(chain_.PayloadSize()), '\0');
  if (!chain_.ReadPayload(0, bytes.data(), bytes.size())) return "";
  return bytes;
}

}  // namespace bvq
