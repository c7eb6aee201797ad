#pragma once
// Helpers of the cabinet writer tests: scratch folders, payload files, a reader of the
// cabinet headers (to look at layout fields), and checks of whole sets with decoders
// written elsewhere: cabextract, libmspack and the cabinet library of Wine.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace bvq::cabtest {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the system's temporary folder, removed with its content.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const Bytes& data);
Bytes ReadFile(const std::string& path);
bool Exists(const std::string& path);
std::vector<std::string> ListFolder(const std::string& path);  // names, sorted
// Deterministic payloads: incompressible bytes, and text-like compressible bytes.
Bytes RandomBytes(size_t size, uint32_t seed);
Bytes TextBytes(size_t size, uint32_t seed);

struct CommandResult {
  int status = -1;
  std::string output;  // stdout and stderr
};
CommandResult RunCommand(const std::string& command);
std::string Quote(const std::string& s);

// The layout of one cabinet file as its headers describe it.
struct CabFolder {
  uint32_t dataOffset;
  uint16_t blocks;
  uint16_t type;
  std::vector<uint16_t> blockUncompressed;  // cbUncomp of each CFDATA
  std::vector<uint16_t> blockCompressed;    // cbData of each CFDATA
};
struct CabFile {
  std::string name;
  uint32_t size, offset;
  uint16_t folder, date, time, attribs;
};
struct CabLayout {
  uint32_t cbCabinet = 0;
  uint16_t flags = 0, setID = 0, iCabinet = 0;
  uint16_t reserveHeader = 0;
  uint8_t reserveFolder = 0, reserveData = 0;
  std::string prevCab, prevDisk, nextCab, nextDisk;
  std::vector<CabFolder> folders;
  std::vector<CabFile> files;
  bool checksumsOk = true;
};
CabLayout ReadLayout(const std::string& path);

// The files a set should hold: name inside the cabinet -> content.
using Expected = std::map<std::string, Bytes>;

// "" when cabextract tests the set from its first cabinet without error and extracts
// exactly the expected files (names with "\" become folders); otherwise what went wrong.
std::string CheckWithCabextract(const std::string& firstCabinet, const Expected& expected);
// The same through libmspack's API: search the first cabinet, append every next cabinet
// of the chain, extract every file.
std::string CheckWithLibmspack(const std::string& firstCabinet, const Expected& expected);
// The same under Wine with cabinet.dll's FDI, from a small Windows program built here.
// Sets `skipped` with a reason when Wine or the cross compiler is not installed.
std::string CheckWithWineFdi(const std::string& firstCabinet, const Expected& expected,
                             std::string& skipped);

}  // namespace bvq::cabtest

namespace bvq::cabtest {
CommandResult RunUnderWine(const std::string& exe, const std::string& args);
// "" when Wine's extrac32, run with /E on every cabinet of the set in turn (as an
// installer walks a set), extracts exactly the expected files; `skipped` as above.
std::string CheckWithWineExtrac32(const std::vector<std::string>& cabinets, const Expected& expected,
                                  std::string& skipped);
// What FDIIsCabinet reports about `cabinet` ("size=.. folders=.. files=.."), or "" when skipped.
std::string WineFdiInfo(const std::string& cabinet, std::string& skipped);
}  // namespace bvq::cabtest
