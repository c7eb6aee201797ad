// LZX cabinets written by CabWriter, checked by cabextract, libmspack and the cabinet
// library of Wine: a folder that runs through several cabinets, every window size.
#include <gtest/gtest.h>

#include "cab/cab_writer.h"
#include "cab_test_support.h"

namespace bvq {
namespace {

using namespace cabtest;

struct Payload {
  std::string name;
  Bytes data;
};

Bytes PeFile(const char* name) { return ReadFile(std::string("/usr/lib/i386-linux-gnu/wine/i386-windows/") + name); }

// Writes the payloads as one LZX set and returns the first cabinet's path.
std::string WriteSet(const ScratchDir& dir, const std::vector<Payload>& files, int level, uint32_t cabinetSize,
                     Expected& expected) {
  CabWriter w;
  w.SetCompressionType(CabCompression::Lzx);
  w.SetCompressionLzxLevel(level);
  w.CabinetSizeThreshold = cabinetSize;
  w.Open(dir / "set/data.cab");
  int n = 0;
  for (const Payload& p : files) {
    std::string src = dir / ("src" + std::to_string(n++));
    WriteFile(src, p.data);
    w.AddFile(src, p.name, false);
    expected[p.name] = p.data;
  }
  w.Close(true);
  return dir / "set/data.cab";
}

void CheckAll(const std::string& cab, const Expected& expected, bool withWine) {
  EXPECT_EQ(CheckWithCabextract(cab, expected), "");
  EXPECT_EQ(CheckWithLibmspack(cab, expected), "");
  if (withWine) {
    std::string skipped;
    EXPECT_EQ(CheckWithWineFdi(cab, expected, skipped), "");
    if (!skipped.empty()) GTEST_SKIP() << skipped;
  }
}

TEST(LzxCabWriter, FolderAcrossCabinetsDecodesEverywhere) {
  ScratchDir dir;
  Expected expected;
  std::vector<Payload> files{{"empty.txt", {}},
                             {"one.bin", {0xE8}},
                             {"kernel32.dll", PeFile("kernel32.dll")},
                             {"exact.txt", TextBytes(32768, 3)},
                             {"random.bin", RandomBytes(150000, 4)},
                             {"shell32.dll", PeFile("shell32.dll")},
                             {"text.txt", TextBytes(400000, 5)}};
  std::string cab = WriteSet(dir, files, 21, 400000, expected);
  CabLayout first = ReadLayout(cab);
  ASSERT_EQ(first.folders.size(), 1u);
  EXPECT_EQ(first.folders[0].type, 21 << 8 | 3);
  EXPECT_TRUE(first.checksumsOk);
  EXPECT_FALSE(first.nextCab.empty()) << "the set should need several cabinets";
  CheckAll(cab, expected, true);
}

class LzxCabWriterLevels : public ::testing::TestWithParam<int> {};

TEST_P(LzxCabWriterLevels, PeFilesAndTextRoundTrip) {
  ScratchDir dir;
  Expected expected;
  std::vector<Payload> files{{"user32.dll", PeFile("user32.dll")}, {"notes.txt", TextBytes(70000, GetParam())}};
  std::string cab = WriteSet(dir, files, GetParam(), 0, expected);
  EXPECT_EQ(ReadLayout(cab).folders.at(0).type, GetParam() << 8 | 3);
  // The smallest and the largest window also go through Wine's decoder.
  CheckAll(cab, expected, GetParam() == 15 || GetParam() == 21);
}

INSTANTIATE_TEST_SUITE_P(AllLevels, LzxCabWriterLevels, ::testing::Range(15, 22));

}  // namespace
}  // namespace bvq
