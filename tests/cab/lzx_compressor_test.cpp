// The LZX encoder checked through cabinets decoded by libmspack and cabextract.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "cab/folder_compressor.h"
#include "cab/lzx_format.h"
#include "lzx_test_cabinet.h"

namespace bvq::cab {
namespace {

using lzxtest::TestFile;

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

std::vector<uint8_t> Repetitive(size_t n) {
  std::vector<uint8_t> v(n);
  const std::string pat = "The quick brown fox jumps over the lazy dog. ";
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(pat[i % pat.size()]);
  return v;
}

// Words drawn from a small vocabulary: compressible, but with matches of every kind.
std::vector<uint8_t> TextLike(size_t n, uint32_t seed) {
  static const char* words[] = {"cabinet", "folder", "window", "offset", "length", "tree", "block",
                                "frame", "match", "literal", "the", "a", "of", "and", "to", "in"};
  std::mt19937 rng(seed);
  std::vector<uint8_t> v;
  while (v.size() < n) {
    const char* w = words[rng() % 16];
    v.insert(v.end(), w, w + strlen(w));
    v.push_back(rng() % 7 == 0 ? '\n' : ' ');
    if (rng() % 50 == 0) v.push_back(static_cast<uint8_t>(rng()));
  }
  v.resize(n);
  return v;
}

std::vector<uint8_t> PeFile(const char* name) {
  return lzxtest::ReadFile(std::string("/usr/lib/i386-linux-gnu/wine/i386-windows/") + name);
}

struct Result {
  std::vector<uint8_t> cab;
  size_t blocks = 0;
};

// Builds the cabinet and checks it with both decoders.
Result CheckRoundTrip(const std::vector<TestFile>& files, int windowBits, size_t feed = 65536,
                      const lzx::ParserTuning& tuning = {}) {
  Result r;
  r.cab = lzxtest::MakeLzxCabinet(files, windowBits, feed, &r.blocks, tuning);
  const std::string dir = lzxtest::TempDir();
  const std::string path = dir + "/test.cab";
  lzxtest::WriteFile(path, r.cab);
  EXPECT_EQ(lzxtest::CheckWithLibmspack(path, files), "");
  EXPECT_EQ(lzxtest::CheckWithCabextract(path, files), "");
  std::filesystem::remove_all(dir);
  return r;
}

size_t TotalSize(const std::vector<TestFile>& files) {
  size_t n = 0;
  for (const auto& f : files) n += f.data.size();
  return n;
}

struct SizeCase {
  const char* name;
  size_t size;
};

class LzxSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(LzxSizes, RoundTripsAndHasOneBlockPerFrame) {
  std::vector<TestFile> files{{"data.bin", TextLike(GetParam().size, 7)}};
  Result r = CheckRoundTrip(files, 16);
  EXPECT_EQ(r.blocks, (GetParam().size + 32767) / 32768);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, LzxSizes,
                         ::testing::Values(SizeCase{"Empty", 0}, SizeCase{"OneByte", 1}, SizeCase{"TenBytes", 10},
                                           SizeCase{"ElevenBytes", 11}, SizeCase{"OneFrame", 32768},
                                           SizeCase{"OneFramePlusOne", 32769}, SizeCase{"ManyFrames", 300000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LzxCompressor, EmptyAndOneByteFilesInOneFolder) {
  std::vector<TestFile> files{{"empty.txt", {}}, {"one.txt", {'x'}}, {"empty2.txt", {}}, {"text.txt", TextLike(5000, 3)}};
  CheckRoundTrip(files, 15);
}

TEST(LzxCompressor, RepetitiveDataShrinksToAFraction) {
  std::vector<TestFile> files{{"rep.txt", Repetitive(1 << 20)}};
  Result r = CheckRoundTrip(files, 17);
  EXPECT_LT(r.cab.size(), size_t{1 << 20} / 100);
}

TEST(LzxCompressor, IncompressibleDataGrowsOnlyByFraming) {
  std::vector<TestFile> files{{"random.bin", RandomBytes(200000, 1)}};
  Result r = CheckRoundTrip(files, 16);
  // Uncompressed blocks: a few bytes of block header per frame plus the CFDATA headers.
  EXPECT_LT(r.cab.size(), 200000 + r.blocks * 40 + 200);
}

// Long stretches without matches are searched only at some positions, but every position
// is entered: a second copy of random data, at any offset, is still found whole.
TEST(LzxCompressor, CopiesOfRandomDataAreFoundAfterLongLiteralStretches) {
  for (size_t shift : {size_t{0}, size_t{1}, size_t{2}, size_t{3}}) {
    SCOPED_TRACE("shift " + std::to_string(shift));
    // The copy starts far inside the first stretch, where only some positions are searched.
    auto data = RandomBytes(100000, 21);
    data.insert(data.end(), data.begin() + 40000 + static_cast<long>(shift), data.end());
    std::vector<TestFile> files{{"copy.bin", data}};
    Result r = CheckRoundTrip(files, 17);
    EXPECT_LT(r.cab.size(), size_t{100000} + r.blocks * 40 + 2000);
  }
}

TEST(LzxCompressor, SkewedBytesCompressToTheirEntropy) {
  // 16 distinct byte values at random: 4 bits a byte, over many frames in one block.
  std::mt19937 rng(2);
  std::vector<uint8_t> data(400000);
  for (auto& b : data) b = static_cast<uint8_t>('a' + rng() % 16);
  std::vector<TestFile> files{{"skewed.txt", data}};
  Result r = CheckRoundTrip(files, 17);
  EXPECT_LT(r.cab.size(), data.size() * 52 / 100);
}

TEST(LzxCompressor, MixOfRandomAndTextSwitchesBlockKinds) {
  std::vector<uint8_t> mixed = TextLike(100000, 5);
  auto rnd = RandomBytes(70000, 9);
  mixed.insert(mixed.end(), rnd.begin(), rnd.end());
  auto more = TextLike(100001, 6);
  mixed.insert(mixed.end(), more.begin(), more.end());
  std::vector<TestFile> files{{"mixed.bin", mixed}};
  Result r = CheckRoundTrip(files, 18, 4097);
  EXPECT_LT(r.cab.size(), mixed.size() * 3 / 5);
}

TEST(LzxCompressor, X86CodeWithCallTranslation) {
  std::vector<TestFile> files{{"kernel32.dll", PeFile("kernel32.dll")}, {"user32.dll", PeFile("user32.dll")},
                              {"notepad.exe", PeFile("notepad.exe")}};
  Result r = CheckRoundTrip(files, 21);
  EXPECT_LT(r.cab.size(), TotalSize(files) / 2);
}

TEST(LzxCompressor, LargePeFileThroughManyWindowSlides) {
  // 5 MB of code, and twice that through small windows: the data moves from one buffer to
  // the other and back several times, while the worker still parses chunks of the buffer
  // left, and matches and repeats reach far back.
  std::vector<TestFile> files{{"user32.dll", PeFile("user32.dll")}};
  for (size_t feed : {size_t{32768}, size_t{1} << 20}) CheckRoundTrip(files, 21, feed);
  files.push_back({"copy.dll", files[0].data});
  CheckRoundTrip(files, 16, 32768);
  CheckRoundTrip(files, 15, 1 << 20);
}

TEST(LzxCompressor, CallOpcodesAtEveryFramePosition) {
  // 0xE8 every seven bytes, with operands near the translation limits; frame ends fall at
  // different phases of the pattern, so opcodes land in the untranslated last ten bytes of
  // frames and operands straddle frame ends.
  std::mt19937 rng(8);
  std::vector<uint8_t> data(3 * 32768 + 4099);
  const uint32_t operands[] = {0, 1, 0xFFFFFFFFu, 12000000 - 1, 12000000, 0x80000000u, 0xFF000000u};
  for (size_t i = 0; i < data.size(); ++i) {
    if (i % 7 == 0) {
      data[i] = 0xE8;
    } else if (i % 7 == 1 && i + 4 <= data.size()) {
      uint32_t v = rng() % 3 ? static_cast<uint32_t>(rng() % 200000) - 100000u : operands[rng() % 7];
      for (int b = 0; b < 4; ++b) data[i + b] = static_cast<uint8_t>(v >> (8 * b));
      i += 3;
    } else {
      data[i] = static_cast<uint8_t>(rng());
    }
  }
  std::vector<TestFile> files{{"calls.bin", data}};
  CheckRoundTrip(files, 15, 5000);
}

TEST(LzxCompressor, DataLargerThanTheWindowRepeatsFromFarBack) {
  // Blocks of 40 KB repeat after 40 KB: within the window at 16 bits, beyond it at 15.
  // The tree finder's node slots wrap around the window many times over.
  auto unit = RandomBytes(40000, 4);
  std::vector<uint8_t> data;
  for (int i = 0; i < 12; ++i) data.insert(data.end(), unit.begin(), unit.end());
  std::vector<TestFile> files{{"wrap.bin", data}};
  lzx::ParserTuning tree;
  tree.treeDepth = 16;
  tree.optimalPasses = 1;
  for (const lzx::ParserTuning& tuning : {lzx::ParserTuning{}, tree}) {
    SCOPED_TRACE(tuning.treeDepth ? "tree" : "buckets");
    Result small = CheckRoundTrip(files, 15, 65536, tuning);
    Result large = CheckRoundTrip(files, 16, 65536, tuning);
    EXPECT_GT(small.cab.size(), data.size() * 9 / 10);
    EXPECT_LT(large.cab.size(), data.size() / 5);
  }
}

TEST(LzxCompressor, CopiesAtTheLargestDistanceOfTheFullWindow) {
  // A 20000-byte string repeats exactly as far back as a 2 MB window reaches, and one byte
  // further; the copy straddles a frame end. Both finders find the first and cannot use the
  // second.
  for (uint32_t extra : {0u, 1u}) {
    const uint32_t dist = lzx::MaxDistance(21) + extra;
    const uint32_t at = 65 * 32768 - 10000;
    auto data = RandomBytes(at + 21000, 12);
    std::copy(data.begin() + (at - dist), data.begin() + (at - dist + 20000), data.begin() + at);
    std::vector<TestFile> files{{"far.bin", data}};
    lzx::ParserTuning tree;
    tree.treeDepth = 8;
    tree.optimalPasses = 1;
    for (const lzx::ParserTuning& tuning : {lzx::ParserTuning{}, tree}) {
      SCOPED_TRACE(std::string(tuning.treeDepth ? "tree" : "buckets") + ", one beyond: " + std::to_string(extra));
      Result r = CheckRoundTrip(files, 21, 1 << 20, tuning);
      if (extra == 0) {
        EXPECT_LT(r.cab.size() + 15000, data.size());
      } else {
        EXPECT_GT(r.cab.size(), data.size());
      }
    }
  }
}

struct TuningCase {
  const char* name;
  lzx::ParserTuning tuning;
};

class LzxTunings : public ::testing::TestWithParam<TuningCase> {};

// Every search setting the benchmark offers gives valid streams; PE code and text across
// many chunks, so the two parsers' matches are re-expressed against the queue often.
TEST_P(LzxTunings, PeAndTextRoundTrip) {
  std::vector<TestFile> files{{"comctl32.dll", PeFile("comctl32.dll")}, {"text.txt", TextLike(700000, 12)},
                              {"rep.txt", Repetitive(300000)}};
  CheckRoundTrip(files, 21, 65536, GetParam().tuning);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LzxTunings,
    ::testing::Values(TuningCase{"Greedy", {16, 8, 32, 0}}, TuningCase{"LookTwoAhead", {16, 8, 32, 2}},
                      TuningCase{"SmallTableFewWays", {12, 4, 8, 1}}, TuningCase{"ManyWaysLongNice", {15, 32, 257, 1}},
                      TuningCase{"ShortestPath", {16, 8, 32, 1, 1}}, TuningCase{"ShortestPathTwoPasses", {14, 16, 64, 1, 2}},
                      TuningCase{"LongStringTable", {16, 8, 48, 1, 0, 8}},
                      TuningCase{"ShortestPathLongStringsLongNice", {15, 16, 257, 1, 2, 4}},
                      TuningCase{"TreeShortestPath", {16, 8, 64, 1, 1, 0, 16}},
                      TuningCase{"TreeLazyEnteringEveryFourth", {16, 8, 32, 1, 0, 0, 8, 4, 4}},
                      TuningCase{"TreeLongNiceFewLengths", {14, 8, 257, 1, 1, 0, 32, 1, 1, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

class LzxWindows : public ::testing::TestWithParam<int> {};

TEST_P(LzxWindows, PeAndTextRoundTrip) {
  std::vector<TestFile> files{{"comctl32.dll", PeFile("comctl32.dll")}, {"text.txt", TextLike(150000, GetParam())}};
  CheckRoundTrip(files, GetParam(), 10000);
}

INSTANTIATE_TEST_SUITE_P(AllWindowSizes, LzxWindows, ::testing::Range(15, 22));

// Random documents made of random pieces: noise, runs, copies of earlier bytes at any
// distance (also beyond the window and across frames), call opcodes, text, cut into files
// of random sizes (empty ones too) and fed in random amounts. Every window size, several seeds.
std::vector<TestFile> RandomDocuments(uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> all;
  const size_t total = 20000 + rng() % 400000;
  while (all.size() < total) {
    const size_t len = 1 + rng() % (rng() % 4 == 0 ? 20000 : 300);
    switch (rng() % 6) {
      case 0: for (size_t i = 0; i < len; ++i) all.push_back(static_cast<uint8_t>(rng())); break;
      case 1: all.insert(all.end(), len, static_cast<uint8_t>(rng())); break;
      case 2:
      case 3:
        if (!all.empty()) {
          const size_t dist = 1 + (rng() % 3 ? rng() % std::min<size_t>(all.size(), 64) : rng() % all.size());
          for (size_t i = 0; i < len; ++i) all.push_back(all[all.size() - dist]);
        }
        break;
      case 4:
        for (size_t i = 0; i < len; ++i) all.push_back(i % 5 == 0 ? 0xE8 : static_cast<uint8_t>(rng() % 4 ? 0 : rng()));
        break;
      default: {
        auto text = TextLike(len, rng());
        all.insert(all.end(), text.begin(), text.end());
      }
    }
  }
  std::vector<TestFile> files;
  for (size_t at = 0; at < all.size();) {
    const size_t n = std::min(all.size() - at, size_t{rng() % 3 == 0 ? 0u : rng() % 70000});
    files.push_back({"f" + std::to_string(files.size()), {all.begin() + static_cast<long>(at), all.begin() + static_cast<long>(at + n)}});
    at += n;
  }
  return files;
}

class LzxRandomInput : public ::testing::TestWithParam<int> {};

TEST_P(LzxRandomInput, RoundTrips) {
  const int windowBits = GetParam();
  for (uint32_t seed = 0; seed < 3; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(static_cast<uint32_t>(windowBits) * 100 + seed);
    CheckRoundTrip(RandomDocuments(rng()), windowBits, 1 + rng() % 100000);
  }
}

INSTANTIATE_TEST_SUITE_P(AllLevels, LzxRandomInput, ::testing::Range(15, 22));

// The same random documents through every search setting, fed in random amounts.
TEST_P(LzxTunings, RandomInputRoundTrips) {
  std::mt19937 rng(77);
  CheckRoundTrip(RandomDocuments(rng()), 21, 1 + rng() % 100000, GetParam().tuning);
}

TEST(LzxCompressor, CompressorIsReusableAfterFinish) {
  std::vector<std::vector<uint8_t>> first, second;
  auto comp = MakeLzxCompressor([&](const uint8_t* d, size_t n, uint32_t) { first.emplace_back(d, d + n); }, 16);
  auto data = TextLike(100000, 11);
  comp->Write(data.data(), data.size());
  comp->Finish();
  auto comp2 = MakeLzxCompressor([&](const uint8_t* d, size_t n, uint32_t) { second.emplace_back(d, d + n); }, 16);
  comp2->Write(data.data(), data.size());
  comp2->Finish();
  size_t firstCount = first.size();
  comp->Write(data.data(), data.size());
  comp->Finish();
  ASSERT_EQ(first.size(), 2 * firstCount);
  EXPECT_TRUE(std::equal(second.begin(), second.end(), first.begin() + static_cast<long>(firstCount)));
}

TEST(LzxCompressor, RejectsWindowSizesOutsideTheFormat) {
  auto sink = [](const uint8_t*, size_t, uint32_t) {};
  EXPECT_THROW(MakeLzxCompressor(sink, 14), std::invalid_argument);
  EXPECT_THROW(MakeLzxCompressor(sink, 22), std::invalid_argument);
}

}  // namespace
}  // namespace bvq::cab
