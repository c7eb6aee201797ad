// The deflate encoder of MSZIP blocks, checked against zlib's inflate: every stretch it
// encodes must be a complete raw deflate stream that inflates, with the 32 KB before the
// stretch as preset dictionary, to exactly the stretch. Cabinets of the same edge cases
// go through cabextract, libmspack and Wine's cabinet library.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>

#include "cab/cab_writer.h"
#include "cab/deflate_encoder.h"
#include "cab/folder_compressor.h"
#include "cab_test_support.h"

namespace bvq::cabtest {
namespace {

using cab::deflate::Encoder;
constexpr size_t kWindow = 32768;

// Inflates `stream` as a raw deflate stream with `dict` preset; fails the test unless it
// ends exactly at the end of the input.
Bytes Inflate(const Bytes& stream, const uint8_t* dict, size_t dictSize) {
  z_stream z{};
  EXPECT_EQ(inflateInit2(&z, -MAX_WBITS), Z_OK);
  if (dictSize > 0) {
    EXPECT_EQ(inflateSetDictionary(&z, dict, uInt(dictSize)), Z_OK);
  }
  Bytes out(70000);
  z.next_in = const_cast<uint8_t*>(stream.data());
  z.avail_in = uInt(stream.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END) << (z.msg ? z.msg : "");
  EXPECT_EQ(z.avail_in, 0u) << "bytes after the end of the stream";
  out.resize(out.size() - z.avail_out);
  inflateEnd(&z);
  return out;
}

// Encodes `data` as consecutive stretches of the given sizes, the first `history` bytes
// only as window, as the MSZIP compressor does for a run of blocks. Checks each stretch
// against zlib and returns the encoded sizes.
std::vector<size_t> EncodeStretches(const Bytes& data, size_t history, const std::vector<size_t>& sizes) {
  Bytes buffer = data;
  buffer.resize(data.size() + 16);  // the search reads a little past the data
  Encoder encoder;
  encoder.Start(buffer.data(), history);
  std::vector<size_t> encoded;
  size_t begin = history;
  for (size_t size : sizes) {
    SCOPED_TRACE("stretch at " + std::to_string(begin) + ", " + std::to_string(size) + " bytes");
    Bytes out(Encoder::MaxEncodedSize(size));
    const size_t n = encoder.Encode(begin, begin + size, out.data());
    EXPECT_LE(n, out.size());
    out.resize(n);
    const size_t dict = std::min(begin, kWindow);
    const Bytes back = Inflate(out, data.data() + begin - dict, dict);
    EXPECT_TRUE(back == Bytes(data.begin() + std::ptrdiff_t(begin), data.begin() + std::ptrdiff_t(begin + size)))
        << "inflated " << back.size() << " bytes";
    encoded.push_back(n);
    begin += size;
  }
  return encoded;
}

Bytes Repeat(const Bytes& piece, size_t size) {
  Bytes out;
  while (out.size() < size) out.insert(out.end(), piece.begin(), piece.end());
  out.resize(size);
  return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

struct EdgeCase {
  const char* name;
  std::function<Bytes()> window;  // the 32 KB before the block, or nothing
  std::function<Bytes()> block;
  size_t maxEncoded;  // the stream must not be larger
};

// The edge cases with the most the stream may take: what each case's matches allow.
const EdgeCase kEdgeCases[] = {
    {"empty block", [] { return Bytes(); }, [] { return Bytes(); }, 2},
    {"empty block after a window", [] { return RandomBytes(kWindow, 1); }, [] { return Bytes(); }, 2},
    {"one byte", [] { return Bytes(); }, [] { return Bytes{0x5a}; }, 6},
    {"one byte after a window", [] { return TextBytes(kWindow, 2); }, [] { return Bytes{0xff}; }, 6},
    // 127 matches of the longest length at distance 1.
    {"one repeated byte", [] { return Bytes(); }, [] { return Bytes(kWindow, 0x41); }, 100},
    {"incompressible", [] { return Bytes(); }, [] { return RandomBytes(kWindow, 3); }, kWindow + 5},
    {"incompressible after a window", [] { return RandomBytes(kWindow, 4); }, [] { return RandomBytes(kWindow, 5); }, kWindow + 5},
    // Random data whose only matches lie exactly 32,768 bytes back, in the window.
    {"copy of the whole window", [] { return RandomBytes(kWindow, 6); }, [] { return RandomBytes(kWindow, 6); }, 400},
    // The same one byte later: every copy lies 32,769 bytes back, out of reach.
    {"copy of the window one byte too far", [] { return RandomBytes(kWindow, 6); },
     [] { return Join({Bytes{0}, RandomBytes(kWindow, 6)}); }, kWindow + 1 + 5 + 8 * 5},
    // The window's last 50 bytes over and over: each match starts in the window and
    // runs on into the block.
    {"matches from the window into the block",
     [] { return RandomBytes(kWindow, 7); },
     [] {
       const Bytes w = RandomBytes(kWindow, 7);
       return Repeat(Bytes(w.end() - 50, w.end()), 20000);
     },
     200},
    {"text", [] { return TextBytes(kWindow, 8); }, [] { return TextBytes(kWindow, 9); }, kWindow / 2},
    {"longest stretch", [] { return Bytes(); }, [] { return Join({TextBytes(40000, 10), RandomBytes(25535, 11)}); }, 65535 + 5},
};

TEST(DeflateEncoder, EdgeCasesInflateWithThePreviousWindow) {
  for (const EdgeCase& c : kEdgeCases) {
    SCOPED_TRACE(c.name);
    const Bytes window = c.window(), block = c.block();
    const std::vector<size_t> n = EncodeStretches(Join({window, block}), window.size(), {block.size()});
    EXPECT_LE(n[0], c.maxEncoded);
  }
}

// Random documents (noise, runs, near and far copies, text) cut into stretches of random
// sizes, the first after a window: stretches inflate one after another, and the whole is
// smaller than its stored form wherever copies are found.
TEST(DeflateEncoder, RandomStretchesInflateWithThePreviousWindow) {
  for (uint32_t seed = 0; seed < 8; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    Bytes data;
    while (data.size() < 400000) {
      const size_t len = 1 + rng() % (rng() % 4 == 0 ? 40000 : 400);
      switch (rng() % 4) {
        case 0: {
          const Bytes noise = RandomBytes(len, rng());
          data.insert(data.end(), noise.begin(), noise.end());
          break;
        }
        case 1: data.insert(data.end(), len, uint8_t(rng())); break;
        case 2:
          if (!data.empty()) {
            const size_t dist = 1 + rng() % std::min<size_t>(data.size(), rng() % 2 ? 40000 : 300);
            for (size_t i = 0; i < len; ++i) data.push_back(data[data.size() - dist]);
          }
          break;
        default: {
          const Bytes text = TextBytes(len, rng());
          data.insert(data.end(), text.begin(), text.end());
        }
      }
    }
    const size_t history = seed % 2 ? kWindow : 0;
    std::vector<size_t> sizes;
    for (size_t at = history; at < data.size();) {
      const size_t n = std::min(data.size() - at, size_t(rng() % 3 == 0 ? rng() % 300 : rng() % 65536));
      sizes.push_back(n);
      at += n;
    }
    EncodeStretches(data, history, sizes);
  }
}

// The same folder twice through the compressor gives the same bytes, however its worker
// threads happen to run.
TEST(DeflateEncoder, CompressorOutputIsDeterministic) {
  Bytes input = Join({TextBytes(1500000, 12), RandomBytes(300000, 13), TextBytes(1000000, 14)});
  std::vector<Bytes> outputs;
  for (int pass = 0; pass < 3; ++pass) {
    Bytes all;
    auto compressor = cab::MakeMsZipCompressor([&](const uint8_t* d, size_t n, uint32_t) { all.insert(all.end(), d, d + n); });
    std::mt19937 rng{uint32_t(pass)};
    for (size_t at = 0; at < input.size();) {
      const size_t n = std::min(input.size() - at, size_t(rng() % 100000));
      compressor->Write(input.data() + at, n);
      at += n;
    }
    compressor->Finish();
    outputs.push_back(all);
  }
  EXPECT_TRUE(outputs[0] == outputs[1]);
  EXPECT_TRUE(outputs[0] == outputs[2]);
}

// The edge cases as files of one MSZIP cabinet: its blocks carry the window across, so
// the copies of 32 KB back and the runs of the longest matches reach the cabinet readers.
TEST(DeflateEncoder, CabinetReadersExtractTheEdgeCases) {
  ScratchDir dir;
  CabWriter w;
  w.SetCompressionType(CabCompression::MsZip);
  w.Open(dir / "edge.cab");
  Expected expected;
  int i = 0;
  for (const EdgeCase& c : kEdgeCases) {
    const std::string name = "case" + std::to_string(i++);
    const Bytes data = Join({c.window(), c.block()});
    WriteFile(dir / name, data);
    w.AddFile(dir / name, name, false);
    expected[name] = data;
  }
  w.Close(true);
  EXPECT_EQ(CheckWithCabextract(dir / "edge.cab", expected), "");
  EXPECT_EQ(CheckWithLibmspack(dir / "edge.cab", expected), "");
  std::string wineSkipped;
  EXPECT_EQ(CheckWithWineFdi(dir / "edge.cab", expected, wineSkipped), "");
  if (!wineSkipped.empty()) GTEST_SKIP() << "Wine check skipped: " << wineSkipped;
}

}  // namespace
}  // namespace bvq::cabtest
