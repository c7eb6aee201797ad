#include "lzx_test_cabinet.h"

#include <mspack.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "cab/folder_compressor.h"
#include "cab/lzx_compressor.h"

namespace bvq::cab::lzxtest {
namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}
void Set32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

uint32_t Checksum(const uint8_t* p, size_t n, uint32_t seed) {
  uint32_t c = seed;
  for (size_t i = 0; i + 4 <= n; i += 4)
    c ^= uint32_t{p[i]} | uint32_t{p[i + 1]} << 8 | uint32_t{p[i + 2]} << 16 | uint32_t{p[i + 3]} << 24;
  const uint8_t* t = p + (n & ~size_t{3});
  uint32_t last = 0;
  switch (n & 3) {
    case 3: last |= uint32_t{*t++} << 16; [[fallthrough]];
    case 2: last |= uint32_t{*t++} << 8; [[fallthrough]];
    case 1: last |= *t;
  }
  return c ^ last;
}

std::string Run(const std::string& cmd) {
  std::string out;
  FILE* f = popen((cmd + " 2>&1").c_str(), "r");
  if (!f) return "cannot run " + cmd;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  int rc = pclose(f);
  if (!WIFEXITED(rc) || WEXITSTATUS(rc) != 0) return cmd + " failed:\n" + out;
  return "";
}

}  // namespace

std::vector<uint8_t> MakeLzxCabinet(const std::vector<TestFile>& files, int windowBits, size_t feed,
                                    size_t* dataBlocks, const lzx::ParserTuning& tuning) {
  std::vector<std::vector<uint8_t>> blocks;
  std::vector<uint32_t> usizes;
  auto comp = MakeLzxCompressor(
      [&](const uint8_t* d, size_t n, uint32_t u) {
        blocks.emplace_back(d, d + n);
        usizes.push_back(u);
      },
      windowBits, tuning);
  for (const TestFile& f : files)
    for (size_t off = 0; off < f.data.size(); off += feed)
      comp->Write(f.data.data() + off, std::min(feed, f.data.size() - off));
  comp->Finish();
  if (dataBlocks) *dataBlocks = blocks.size();

  static const char kSignature[] = "MSCF";
  std::vector<uint8_t> cab(kSignature, kSignature + 4);
  Put32(cab, 0);  // reserved
  Put32(cab, 0);  // cabinet size, set below
  Put32(cab, 0);
  Put32(cab, 0);  // offset of the first CFFILE, set below
  Put32(cab, 0);
  cab.push_back(3);
  cab.push_back(1);
  Put16(cab, 1);  // folders
  Put16(cab, static_cast<uint32_t>(files.size()));
  Put16(cab, 0);  // flags
  Put16(cab, 0x1234);
  Put16(cab, 0);
  const size_t folderAt = cab.size();
  Put32(cab, 0);  // first CFDATA, set below
  Put16(cab, static_cast<uint32_t>(blocks.size()));
  Put16(cab, static_cast<uint32_t>(windowBits) << 8 | 3);
  Set32(cab, 16, static_cast<uint32_t>(cab.size()));
  uint32_t offset = 0;
  for (const TestFile& f : files) {
    Put32(cab, static_cast<uint32_t>(f.data.size()));
    Put32(cab, offset);
    Put16(cab, 0);
    Put16(cab, 0x5A21);  // 2025-01-01
    Put16(cab, 0x6000);  // 12:00
    Put16(cab, 0x20);
    cab.insert(cab.end(), f.name.begin(), f.name.end());
    cab.push_back(0);
    offset += static_cast<uint32_t>(f.data.size());
  }
  Set32(cab, folderAt, static_cast<uint32_t>(cab.size()));
  for (size_t i = 0; i < blocks.size(); ++i) {
    const std::vector<uint8_t>& b = blocks[i];
    if (b.size() > kMaxBlockCompressed) throw std::runtime_error("CFDATA payload too large");
    std::vector<uint8_t> sizes;
    Put16(sizes, static_cast<uint32_t>(b.size()));
    Put16(sizes, usizes[i]);
    Put32(cab, Checksum(sizes.data(), 4, Checksum(b.data(), b.size(), 0)));
    cab.insert(cab.end(), sizes.begin(), sizes.end());
    cab.insert(cab.end(), b.begin(), b.end());
  }
  Set32(cab, 8, static_cast<uint32_t>(cab.size()));
  return cab;
}

std::vector<uint8_t> WordSample(size_t n, uint32_t seed) {
  static const char* words[] = {"alpha", "beta", "gamma", "delta", "offset", "window", "match", "\n"};
  std::mt19937 rng(seed);
  std::vector<uint8_t> v;
  while (v.size() < n) {
    const char* w = words[rng() % 8];
    v.insert(v.end(), w, w + std::strlen(w));
    v.push_back(rng() % 5 ? ' ' : static_cast<uint8_t>(rng()));
  }
  v.resize(n);
  return v;
}

std::string TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "bvq-lzx-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  return tmpl;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& data) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::string CheckWithLibmspack(const std::string& cabPath, const std::vector<TestFile>& files) {
  mscab_decompressor* d = mspack_create_cab_decompressor(nullptr);
  if (!d) return "no libmspack decompressor";
  std::string err;
  mscabd_cabinet* cab = d->open(d, cabPath.c_str());
  if (!cab) {
    err = "libmspack cannot open the cabinet: error " + std::to_string(d->last_error(d));
  } else {
    const std::string outDir = TempDir();
    size_t i = 0;
    for (mscabd_file* f = cab->files; f && err.empty(); f = f->next, ++i) {
      if (i >= files.size() || files[i].name != f->filename) {
        err = "unexpected file " + std::string(f->filename);
        break;
      }
      std::string out = outDir + "/out.bin";
      if (d->extract(d, f, out.c_str()) != MSPACK_ERR_OK) {
        err = "libmspack extract of " + files[i].name + " failed: error " + std::to_string(d->last_error(d));
      } else if (ReadFile(out) != files[i].data) {
        err = "libmspack output of " + files[i].name + " differs";
      }
    }
    if (err.empty() && i != files.size()) err = "libmspack lists " + std::to_string(i) + " files";
    d->close(d, cab);
    std::filesystem::remove_all(outDir);
  }
  mspack_destroy_cab_decompressor(d);
  return err;
}

std::string CheckWithCabextract(const std::string& cabPath, const std::vector<TestFile>& files) {
  std::string err = Run("cabextract -q -t '" + cabPath + "'");
  if (!err.empty()) return err;
  const std::string outDir = TempDir();
  err = Run("cabextract -q -d '" + outDir + "' '" + cabPath + "'");
  for (size_t i = 0; err.empty() && i < files.size(); ++i)
    if (ReadFile(outDir + "/" + files[i].name) != files[i].data) err = "cabextract output of " + files[i].name + " differs";
  std::filesystem::remove_all(outDir);
  return err;
}

GuardedCopy::GuardedCopy(const std::vector<uint8_t>& data) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  span_ = (data.size() + page - 1) / page * page + page;
  void* m = mmap(nullptr, span_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (m == MAP_FAILED) throw std::runtime_error("cannot map a guarded copy");
  map_ = static_cast<uint8_t*>(m);
  if (mprotect(map_ + span_ - page, page, PROT_NONE) != 0) {
    munmap(map_, span_);
    throw std::runtime_error("cannot guard the copy");
  }
  bytes_ = map_ + span_ - page - data.size();
  std::memcpy(bytes_, data.data(), data.size());
}

GuardedCopy::~GuardedCopy() { munmap(map_, span_); }

}  // namespace bvq::cab::lzxtest
