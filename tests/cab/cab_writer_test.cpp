// Single cabinets: contents checked by cabextract, libmspack and Wine's FDI; the fields
// the writer takes from its properties and from the source files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <ctime>

#include "cab/cab_writer.h"
#include "cab_test_support.h"

namespace bvq::cabtest {
namespace {

struct Payload {
  std::string name;  // name inside the cabinet
  Bytes data;
};

// Writes the payload files under `src` and adds them in order.
Expected AddAll(CabWriter& w, const ScratchDir& src, const std::vector<Payload>& files) {
  Expected expected;
  int n = 0;
  for (const Payload& p : files) {
    std::string source = src / ("source" + std::to_string(n++));
    WriteFile(source, p.data);
    w.AddFile(source, p.name, false);
    std::string stored = p.name;
    if (!stored.empty() && stored[0] == '\\') stored.erase(0, 1);
    expected[stored] = p.data;
  }
  return expected;
}

void CheckEverywhere(const std::string& cab, const Expected& expected) {
  EXPECT_EQ(CheckWithCabextract(cab, expected), "");
  EXPECT_EQ(CheckWithLibmspack(cab, expected), "");
}

TEST(CabWriterTest, CompressionCodeFollowsTypeAndLevel) {
  CabWriter w;
  EXPECT_EQ(w.CompressionType(), CabCompression::Lzx);
  EXPECT_EQ(w.CompressionLzxLevel(), 21);
  EXPECT_EQ(w.CompressionCode(), 0x1503);
  const struct {
    CabCompression type;
    int level;
    uint16_t code;
  } cases[] = {{CabCompression::None, 21, 0}, {CabCompression::MsZip, 21, 1}, {CabCompression::Lzx, 15, 0x0F03},
               {CabCompression::Lzx, 21, 0x1503}, {CabCompression(7), 21, 15}};
  for (const auto& c : cases) {
    w.SetCompressionLzxLevel(c.level);
    w.SetCompressionType(c.type);
    EXPECT_EQ(w.CompressionCode(), c.code) << int(c.type) << " " << c.level;
  }
}

struct RoundTripCase {
  const char* label;
  std::vector<Payload> files;
};

std::vector<RoundTripCase> RoundTripCases() {
  std::vector<RoundTripCase> cases;
  cases.push_back({"empty file", {{"empty.txt", {}}}});
  cases.push_back({"block boundaries",
                   {{"a32767", RandomBytes(32767, 1)}, {"b1", RandomBytes(1, 2)},
                    {"c32768", TextBytes(32768, 3)}, {"d65536", RandomBytes(65536, 4)},
                    {"e32769", TextBytes(32769, 5)}, {"f0", {}}}});
  cases.push_back({"single block exactly", {{"x", TextBytes(32768, 9)}}});
  std::vector<Payload> many;
  for (int i = 0; i < 400; ++i)
    many.push_back({"small\\f" + std::to_string(i) + ".txt", TextBytes(size_t(i * 37 % 900), i)});
  cases.push_back({"many small files", many});
  cases.push_back({"mixed large",
                   {{"text.txt", TextBytes(300000, 11)}, {"rand.bin", RandomBytes(200000, 12)},
                    {"\\lead\\slash.txt", TextBytes(1000, 13)}}});
  return cases;
}

class CabRoundTrip : public ::testing::TestWithParam<CabCompression> {};

TEST_P(CabRoundTrip, DecodersExtractExactBytes) {
  for (const RoundTripCase& c : RoundTripCases()) {
    SCOPED_TRACE(c.label);
    ScratchDir dir;
    CabWriter w;
    w.SetCompressionType(GetParam());
    w.Open(dir / "out/data.cab");
    Expected expected = AddAll(w, dir, c.files);
    w.Close(true);
    std::string cab = dir / "out/data.cab";
    CheckEverywhere(cab, expected);
    CabLayout layout = ReadLayout(cab);
    EXPECT_TRUE(layout.checksumsOk);
    EXPECT_EQ(layout.cbCabinet, ReadFile(cab).size());
    EXPECT_EQ(layout.flags, 0);
    ASSERT_EQ(layout.folders.size(), 1u);
    EXPECT_EQ(layout.folders[0].type, GetParam() == CabCompression::None ? 0 : 1);
    // Every block but the last stands for 32768 bytes.
    const auto& blocks = layout.folders[0].blockUncompressed;
    for (size_t i = 0; i + 1 < blocks.size(); ++i) EXPECT_EQ(blocks[i], 32768);
    EXPECT_EQ(ListFolder(dir / "out"), std::vector<std::string>{"data.cab"});
  }
}

INSTANTIATE_TEST_SUITE_P(StoredAndMsZip, CabRoundTrip, ::testing::Values(CabCompression::None, CabCompression::MsZip),
                         [](const auto& info) { return info.param == CabCompression::None ? "Stored" : "MsZip"; });

TEST(CabWriterTest, MsZipCarriesHistoryAcrossBlocks) {
  // The same 20 KB of incompressible bytes three times: only a compressor that keeps the
  // previous block as its window can find the repeats that cross block boundaries.
  ScratchDir dir;
  Bytes piece = RandomBytes(20000, 77), data;
  for (int i = 0; i < 3; ++i) data.insert(data.end(), piece.begin(), piece.end());
  CabWriter w;
  w.SetCompressionType(CabCompression::MsZip);
  w.Open(dir / "h.cab");
  Expected expected = AddAll(w, dir, {{"rep.bin", data}});
  w.Close(true);
  CheckEverywhere(dir / "h.cab", expected);
  CabLayout layout = ReadLayout(dir / "h.cab");
  ASSERT_EQ(layout.folders[0].blocks, 2);
  // The second block (bytes 32768..59999) repeats data the first block holds.
  EXPECT_LT(layout.folders[0].blockCompressed[1], 2000);
}

TEST(CabWriterTest, ZeroFilesGiveAnEmptyCabinet) {
  ScratchDir dir;
  CabWriter w;
  w.SetCompressionType(CabCompression::MsZip);
  w.Open(dir / "empty.cab");
  w.Close(true);
  CabLayout layout = ReadLayout(dir / "empty.cab");
  EXPECT_EQ(layout.cbCabinet, 36u);
  EXPECT_TRUE(layout.folders.empty());
  EXPECT_TRUE(layout.files.empty());
  std::string skipped;
  std::string info = WineFdiInfo(dir / "empty.cab", skipped);
  if (!skipped.empty()) GTEST_SKIP() << "Wine check skipped: " << skipped;
  EXPECT_NE(info.find("size=36 folders=0 files=0"), std::string::npos) << info;
}

TEST(CabWriterTest, SourceDateTimeAttributesAndExecuteFlag) {
  ScratchDir dir;
  std::string ro = dir / "ro.txt", rw = dir / "rw.txt";
  WriteFile(ro, TextBytes(100, 1));
  WriteFile(rw, TextBytes(100, 2));
  chmod(ro.c_str(), 0444);
  struct tm tm {};
  tm.tm_year = 2021 - 1900;
  tm.tm_mon = 6;  // July
  tm.tm_mday = 14;
  tm.tm_hour = 13;
  tm.tm_min = 45;
  tm.tm_sec = 31;
  tm.tm_isdst = -1;
  struct utimbuf times {mktime(&tm), mktime(&tm)};
  utime(rw.c_str(), &times);

  CabWriter w;
  w.SetCompressionType(CabCompression::None);
  w.Open(dir / "a.cab");
  w.AddFile(ro, "ro.txt", false);
  w.AddFile(rw, "rw.exe", true);
  w.Close(true);
  CabLayout layout = ReadLayout(dir / "a.cab");
  ASSERT_EQ(layout.files.size(), 2u);
  EXPECT_EQ(layout.files[0].attribs, 0x21);  // read-only, archive
  EXPECT_EQ(layout.files[1].attribs, 0x60);  // archive, execute
  EXPECT_EQ(layout.files[1].date, ((2021 - 1980) << 9) | (7 << 5) | 14);
  EXPECT_EQ(layout.files[1].time, (13 << 11) | (45 << 5) | 15);
  chmod(ro.c_str(), 0644);
}

TEST(CabWriterTest, ReservesAndSetIdReachTheHeaders) {
  ScratchDir dir;
  CabWriter w;
  w.SetCompressionType(CabCompression::MsZip);
  w.ReservePerCabinetSize = 20;
  w.ReservePerFolderSize = 3;
  w.ReservePerDataSize = 5;
  w.SetID = 0x1234;
  w.Open(dir / "r.cab");
  Expected expected = AddAll(w, dir, {{"a.txt", TextBytes(70000, 1)}, {"b.bin", RandomBytes(5000, 2)}});
  w.Close(true);
  CabLayout layout = ReadLayout(dir / "r.cab");
  EXPECT_EQ(layout.flags, 4);
  EXPECT_EQ(layout.reserveHeader, 20);
  EXPECT_EQ(layout.reserveFolder, 3);
  EXPECT_EQ(layout.reserveData, 5);
  EXPECT_EQ(layout.setID, 0x1234);
  EXPECT_TRUE(layout.checksumsOk);
  CheckEverywhere(dir / "r.cab", expected);
  std::string skipped;
  EXPECT_EQ(CheckWithWineFdi(dir / "r.cab", expected, skipped), "");
  if (!skipped.empty()) GTEST_SKIP() << "Wine check skipped: " << skipped;
}

TEST(CabWriterTest, NamesKeepBackslashesAndLoseOneLeadingBackslash) {
  ScratchDir dir;
  WriteFile(dir / "s", TextBytes(10, 1));
  CabWriter w;
  w.SetCompressionType(CabCompression::None);
  w.Open(dir / "n.cab");
  w.AddFile(dir / "s", "\\dir\\name", false);
  w.AddFile(dir / "s", "\\\\double", false);
  w.AddFile(dir / "s", "plain", false);
  w.Close(true);
  CabLayout layout = ReadLayout(dir / "n.cab");
  ASSERT_EQ(layout.files.size(), 3u);
  EXPECT_EQ(layout.files[0].name, "dir\\name");
  EXPECT_EQ(layout.files[1].name, "\\double");
  EXPECT_EQ(layout.files[2].name, "plain");
}

TEST(CabWriterTest, GcabListsTheFiles) {
  ScratchDir dir;
  CabWriter w;
  w.SetCompressionType(CabCompression::MsZip);
  w.Open(dir / "g.cab");
  AddAll(w, dir, {{"one.txt", TextBytes(50000, 1)}, {"two.bin", RandomBytes(40000, 2)}});
  w.Close(true);
  CommandResult r = RunCommand("gcab -l " + Quote(dir / "g.cab"));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("one.txt"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("two.bin"), std::string::npos) << r.output;
}

TEST(CabWriterTest, LzxLevelReachesTheFolder) {
  ScratchDir dir;
  CabWriter w;
  w.SetCompressionLzxLevel(15);
  w.Open(dir / "l.cab");
  Expected expected = AddAll(w, dir, {{"a.txt", TextBytes(100000, 3)}, {"b.txt", TextBytes(5000, 4)}});
  w.Close(true);
  CabLayout layout = ReadLayout(dir / "l.cab");
  ASSERT_EQ(layout.folders.size(), 1u);
  EXPECT_EQ(layout.folders[0].type, 0x0F03);
  CheckEverywhere(dir / "l.cab", expected);
}

TEST(CabWriterTest, OpenReplacesAnExistingCabinetAndCreatesMissingFolders) {
  ScratchDir dir;
  WriteFile(dir / "old/x.cab", Bytes(1000, 'x'));
  CabWriter w;
  w.SetCompressionType(CabCompression::None);
  w.Open(dir / "old/x.cab");
  EXPECT_FALSE(Exists(dir / "old/x.cab"));  // deleted at once
  w.Close(true);
  EXPECT_EQ(ReadLayout(dir / "old/x.cab").cbCabinet, 36u);

  w.Open(dir / "new/deeper/y.cab");
  Expected expected = AddAll(w, dir, {{"f", TextBytes(10, 1)}});
  w.Close(true);
  CheckEverywhere(dir / "new/deeper/y.cab", expected);
}

TEST(CabWriterTest, CloseWithoutOpenSetDoesNothingAndWriterReopens) {
  ScratchDir dir;
  CabWriter w;
  w.Close(false);
  w.Close(true);
  EXPECT_FALSE(w.IsOpen());
  w.SetCompressionType(CabCompression::MsZip);
  w.Open(dir / "one.cab");
  AddAll(w, dir, {{"a", TextBytes(10, 1)}});
  w.Close(false);  // abandoned: no cabinet
  EXPECT_FALSE(Exists(dir / "one.cab"));
  w.Open(dir / "two.cab");
  Expected expected = AddAll(w, dir, {{"b", TextBytes(10, 2)}});
  w.Close(true);
  CheckEverywhere(dir / "two.cab", expected);
  { CabWriter abandoned; abandoned.SetCompressionType(CabCompression::None); abandoned.Open(dir / "three.cab"); }
  EXPECT_FALSE(Exists(dir / "three.cab"));
}

}  // namespace
}  // namespace bvq::cabtest
