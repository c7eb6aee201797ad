// The MSZIP folder compressor on random input: every block must be a complete deflate
// stream of its own that zlib's inflate decodes with the folder's previous 32 KB as window;
// whole cabinets of random files, stored and MSZIP, must extract with cabextract and
// libmspack (and once with Wine's cabinet library).
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <random>

#include "cab/cab_writer.h"
#include "cab/folder_compressor.h"
#include "cab_test_support.h"

namespace bvq::cabtest {
namespace {

using cab::kMaxBlockCompressed;
using cab::kMaxBlockUncompressed;

// Random data made of pieces: noise, runs of one byte, copies of earlier bytes from near
// and from far (also from beyond the 32 KB window and across blocks), and text.
Bytes RandomDocument(std::mt19937& rng, size_t size) {
  Bytes all;
  all.reserve(size);
  while (all.size() < size) {
    const size_t len = 1 + rng() % (rng() % 4 == 0 ? 40000 : 400);
    switch (rng() % 5) {
      case 0: {
        Bytes noise = RandomBytes(len, uint32_t(rng()));
        all.insert(all.end(), noise.begin(), noise.end());
        break;
      }
      case 1: all.insert(all.end(), len, uint8_t(rng())); break;
      case 2:
      case 3:
        if (!all.empty()) {
          const size_t far = rng() % 2 ? std::min<size_t>(all.size(), 40000) : all.size();
          const size_t dist = 1 + (rng() % 3 ? rng() % std::min<size_t>(all.size(), 300) : rng() % far);
          for (size_t i = 0; i < len; ++i) all.push_back(all[all.size() - dist]);
        }
        break;
      default: {
        Bytes text = TextBytes(len, uint32_t(rng()));
        all.insert(all.end(), text.begin(), text.end());
      }
    }
  }
  all.resize(size);
  return all;
}

// Inflates one block as a raw deflate stream with `window` as preset dictionary; fails the
// test unless the stream ends exactly at the end of the block.
Bytes InflateBlock(const Bytes& block, const Bytes& window, size_t expectedSize) {
  EXPECT_GE(block.size(), 2u);
  EXPECT_EQ(block[0], 'C');
  EXPECT_EQ(block[1], 'K');
  z_stream z{};
  EXPECT_EQ(inflateInit2(&z, -MAX_WBITS), Z_OK);
  if (!window.empty()) {
    EXPECT_EQ(inflateSetDictionary(&z, window.data(), uInt(window.size())), Z_OK);
  }
  Bytes out(kMaxBlockUncompressed + 1);
  z.next_in = const_cast<uint8_t*>(block.data() + 2);
  z.avail_in = uInt(block.size() - 2);
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END) << (z.msg ? z.msg : "");
  EXPECT_EQ(z.avail_in, 0u) << "bytes after the end of the stream";
  out.resize(out.size() - z.avail_out);
  EXPECT_EQ(out.size(), expectedSize);
  inflateEnd(&z);
  return out;
}

struct Block {
  Bytes data;
  uint32_t uncompressed;
};

// Decodes one folder's blocks in order, carrying the window as the cabinet readers do.
Bytes DecodeFolder(const std::vector<Block>& blocks) {
  Bytes all;
  for (size_t i = 0; i < blocks.size(); ++i) {
    SCOPED_TRACE("block " + std::to_string(i));
    if (i + 1 < blocks.size()) {
      EXPECT_EQ(blocks[i].uncompressed, kMaxBlockUncompressed);
    }
    EXPECT_LE(blocks[i].data.size(), kMaxBlockCompressed);
    Bytes window(all.end() - std::min<std::ptrdiff_t>(std::ptrdiff_t(all.size()), kMaxBlockUncompressed), all.end());
    Bytes out = InflateBlock(blocks[i].data, window, blocks[i].uncompressed);
    all.insert(all.end(), out.begin(), out.end());
  }
  return all;
}

// Several folders through one compressor, fed in random pieces: sizes up to a few MB cross
// the boundaries of runs and batches; each folder must decode from an empty window.
TEST(MsZipRandomInput, EveryBlockInflatesWithThePreviousWindow) {
  for (uint32_t seed = 0; seed < 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    std::vector<Block> blocks;
    auto compressor = cab::MakeMsZipCompressor([&](const uint8_t* d, size_t n, uint32_t u) {
      blocks.push_back({Bytes(d, d + n), u});
    });
    for (int folder = 0; folder < 2; ++folder) {
      const size_t sizes[] = {1 + rng() % 100000, 32768 * (1 + rng() % 40), 200000 + rng() % 3000000};
      Bytes input = RandomDocument(rng, sizes[rng() % 3]);
      SCOPED_TRACE("folder " + std::to_string(folder) + ", " + std::to_string(input.size()) + " bytes");
      blocks.clear();
      for (size_t at = 0; at < input.size();) {
        const size_t n = std::min(input.size() - at, size_t(rng() % 3 == 0 ? rng() % 100 : rng() % 200000));
        compressor->Write(input.data() + at, n);
        at += n;
      }
      compressor->Finish();
      ASSERT_EQ(blocks.size(), (input.size() + kMaxBlockUncompressed - 1) / kMaxBlockUncompressed);
      EXPECT_TRUE(DecodeFolder(blocks) == input);
    }
  }
}

// Whole cabinets of random files (empty ones too), checked by the cabinet readers.
class CabRandomInput : public ::testing::TestWithParam<CabCompression> {};

TEST_P(CabRandomInput, DecodersExtractExactBytes) {
  std::string wineSkipped;
  for (uint32_t seed = 0; seed < 3; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(100 + seed);
    Bytes all = RandomDocument(rng, 20000 + rng() % 1500000);
    ScratchDir dir;
    CabWriter w;
    w.SetCompressionType(GetParam());
    w.Open(dir / "r.cab");
    Expected expected;
    for (size_t at = 0; at < all.size();) {
      const size_t n = std::min(all.size() - at, size_t(rng() % 3 == 0 ? 0 : rng() % 120000));
      std::string name = "f" + std::to_string(expected.size());
      WriteFile(dir / name, Bytes(all.begin() + std::ptrdiff_t(at), all.begin() + std::ptrdiff_t(at + n)));
      w.AddFile(dir / name, name, false);
      expected[name] = Bytes(all.begin() + std::ptrdiff_t(at), all.begin() + std::ptrdiff_t(at + n));
      at += n;
    }
    w.Close(true);
    EXPECT_EQ(CheckWithCabextract(dir / "r.cab", expected), "");
    EXPECT_EQ(CheckWithLibmspack(dir / "r.cab", expected), "");
    if (seed == 0) {  // one Wine start is enough
      EXPECT_EQ(CheckWithWineFdi(dir / "r.cab", expected, wineSkipped), "");
    }
  }
  if (!wineSkipped.empty()) GTEST_SKIP() << "Wine check skipped: " << wineSkipped;
}

INSTANTIATE_TEST_SUITE_P(StoredAndMsZip, CabRandomInput, ::testing::Values(CabCompression::None, CabCompression::MsZip),
                         [](const auto& info) { return info.param == CabCompression::None ? "Stored" : "MsZip"; });

}  // namespace
}  // namespace bvq::cabtest
