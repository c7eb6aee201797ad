// Packs every file of a folder tree (sorted by path) as one LZX or MSZIP folder stream and
// prints the compressed size (payloads plus 8-byte CFDATA headers) and the time taken.
// Usage: lzx_bench DIR [lzx15..lzx21|mszip]...
// LZX_HASH, LZX_WAYS, LZX_NICE, LZX_AHEAD, LZX_LONGWAYS, LZX_PASSES (shortest-path passes, 0 = lazy),
// LZX_TREE (binary-tree finder of that search depth), LZX_INNER, LZX_CATCHUP, LZX_RELAX, LZX_SKIP and
// LZX_SKIPSTRIDE in the environment override the search effort (see lzx::ParserTuning).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cab/lzx_compressor.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s DIR METHOD...\n", argv[0]);
    return 2;
  }
  std::vector<std::string> paths;
  for (const auto& e : std::filesystem::recursive_directory_iterator(argv[1]))
    if (e.is_regular_file()) paths.push_back(e.path().string());
  std::sort(paths.begin(), paths.end());
  std::vector<std::vector<uint8_t>> files;
  size_t total = 0;
  for (const auto& p : paths) {
    std::ifstream f(p, std::ios::binary);
    files.emplace_back(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    total += files.back().size();
  }
  bvq::cab::lzx::ParserTuning tuning;
  if (const char* e = std::getenv("LZX_HASH")) tuning.hashBits = std::atoi(e);
  if (const char* e = std::getenv("LZX_WAYS")) tuning.ways = static_cast<uint32_t>(std::atoi(e));
  if (const char* e = std::getenv("LZX_NICE")) tuning.niceLen = static_cast<uint32_t>(std::atoi(e));
  if (const char* e = std::getenv("LZX_AHEAD")) tuning.lookAhead = static_cast<uint32_t>(std::atoi(e));
  if (const char* e = std::getenv("LZX_LONGWAYS")) tuning.longWays = static_cast<uint32_t>(std::atoi(e));
  if (const char* e = std::getenv("LZX_PASSES")) tuning.optimalPasses = std::atoi(e);
  if (const char* e = std::getenv("LZX_TREE")) tuning.treeDepth = static_cast<uint32_t>(std::atoi(e));
  if (const char* e = std::getenv("LZX_INNER")) tuning.innerStride = static_cast<uint32_t>(std::atoi(e));
  if (const char* e = std::getenv("LZX_RELAX")) tuning.relaxLong = static_cast<uint32_t>(std::atoi(e));
  if (const char* e = std::getenv("LZX_CATCHUP")) tuning.catchUpStride = static_cast<uint32_t>(std::atoi(e));
  if (const char* e = std::getenv("LZX_SKIP")) tuning.skipAfter = static_cast<uint32_t>(std::atoi(e));
  if (const char* e = std::getenv("LZX_SKIPSTRIDE")) tuning.skipStride = static_cast<uint32_t>(std::atoi(e));
  for (int a = 2; a < argc; ++a) {
    std::string method = argv[a];
    uint64_t out = 0, blocks = 0;
    auto sink = [&](const uint8_t*, size_t n, uint32_t) { out += n + 8; ++blocks; };
    std::unique_ptr<bvq::cab::FolderCompressor> c;
    if (method == "mszip") c = bvq::cab::MakeMsZipCompressor(sink);
    else if (method.rfind("lzx", 0) == 0) c = bvq::cab::MakeLzxCompressor(sink, std::stoi(method.substr(3)), tuning);
    else { std::fprintf(stderr, "unknown method %s\n", method.c_str()); return 2; }
    auto t0 = std::chrono::steady_clock::now();
    std::clock_t c0 = std::clock();
    for (const auto& f : files) c->Write(f.data(), f.size());
    c->Finish();
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    double cpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    // method, input bytes, output bytes, wall seconds, processor seconds
    std::printf("%s %zu %llu %.3f %.3f\n", method.c_str(), total, static_cast<unsigned long long>(out), secs, cpu);
  }
  return 0;
}
