#pragma once
// Test executables built by the test itself with the mingw-w64 i686 tools, icons written by
// code, and what independent tools (pefile, wrestool, icotool, Wine) say about the results.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace restest {

// A folder for this test process, removed when the process ends.
const std::string& ScratchDir();
// A new empty folder inside ScratchDir().
std::string NewDir(const std::string& hint);

// Runs a shell command; returns its exit status and (optionally) stdout+stderr.
int Run(const std::string& command, std::string* output = nullptr);
std::string Quote(const std::string& text);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
std::string Md5(const std::string& bytes);
std::string FileMd5(const std::string& path);

// One 32-bit icon image (BITMAPINFOHEADER, colour pixels, AND mask), filled with `colour`.
std::string DibImage(int size, uint32_t colour);
// An .ico file with a 32-bit image of each size.
std::string MakeIco(const std::vector<int>& sizes, uint32_t firstColour);
struct IcoImageInfo {
  int width = 0, height = 0, bitCount = 0;
  std::string bytes;
};
// The images of an .ico file, read independently of the code under test.
std::vector<IcoImageInfo> ReadIcoImages(const std::string& icoBytes);

enum class Fixture {
  Hello,        // console program; icon groups "MAINICON" (16, 32, 128) and 2 (16, 24), version
                // resource, named RCDATA; build id debug directory; debug sections and a symbol
                // table after .rsrc; 1001 bytes appended
  NoResources,  // the same program without resources
  DebugTable,   // Hello with a ".dbgdir" section for a debug table, without build id
};
// Sizes of the fixture's icon groups.
const std::vector<int>& MainIconSizes();
const std::vector<int>& OtherIconSizes();
// A fresh copy of the fixture at dir/name.
std::string CopyFixture(Fixture fixture, const std::string& dir, const std::string& name = "test.exe");

struct PeFacts {
  struct Section {
    std::string name;
    uint64_t va = 0, vsize = 0, ptr = 0, raw = 0;
    std::string md5;
  };
  struct Resource {
    std::string type, name;
    int lang = 0;
    uint64_t size = 0;
    std::string md5;
    uint64_t offset = 0;
  };
  struct Debug {
    uint64_t address = 0, pointer = 0, size = 0;
    std::string md5;
  };
  uint64_t size = 0, storedChecksum = 0, generatedChecksum = 0, warnings = 0;
  uint64_t sizeOfImage = 0, sizeOfInitializedData = 0, symbolTable = 0;
  std::vector<Section> sections;
  std::vector<std::pair<uint64_t, uint64_t>> dirs;
  std::vector<Resource> resources;
  std::map<std::string, std::string> groups;  // "name/lang" -> "id,id,..."
  std::vector<Debug> debug;
  std::optional<uint64_t> overlayOffset;
  std::string overlayMd5;
  bool parsed = false;
  std::string text;  // the script's output, for messages

  const Section* FindSection(const std::string& name) const;
  int SectionIndex(const std::string& name) const;
  const Resource* FindResource(const std::string& type, const std::string& name) const;
};
// pefile's view of the file; `debugEntries` raw debug entries are read at the debug directory.
PeFacts ReadPeFacts(const std::string& path, int debugEntries = 0);

// The images of the icon group `group` as wrestool extracts them.
std::optional<std::vector<IcoImageInfo>> WrestoolGroupImages(const std::string& exe, const std::string& group);

}  // namespace restest
