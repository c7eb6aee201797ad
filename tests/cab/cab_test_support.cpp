#include "cab_test_support.h"

#include "wine_capability.h"

#include <dirent.h>
#include <mspack.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <list>
#include <mutex>
#include <set>
#include <stdexcept>

#include "cab/cab_checksum.h"

namespace fs = std::filesystem;

namespace bvq::cabtest {

ScratchDir::ScratchDir() {
  std::string tmpl = (fs::temp_directory_path() / "bvq-cabtest-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void WriteFile(const std::string& path, const Bytes& data) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path) { return fs::exists(path); }

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(path)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

Bytes RandomBytes(size_t size, uint32_t seed) {
  Bytes b(size);
  uint32_t x = seed * 2654435761u + 1;
  for (auto& c : b) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = uint8_t(x >> 24);
  }
  return b;
}

Bytes TextBytes(size_t size, uint32_t seed) {
  static const char* words[] = {"cabinet ", "folder ", "the ", "data ", "block ", "file\n",
                                "setup ",   "install ", "of ", "window ", "32768 ", "and "};
  Bytes b;
  b.reserve(size);
  uint32_t x = seed + 7;
  while (b.size() < size) {
    x = x * 1103515245u + 12345u;
    const char* w = words[(x >> 16) % 12];
    for (const char* p = w; *p && b.size() < size; ++p) b.push_back(uint8_t(*p));
  }
  return b;
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') {
      q += "'\\''";
    } else {
      q += c;
    }
  }
  return q + "'";
}

CommandResult RunCommand(const std::string& command) {
  CommandResult r;
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.output.append(buf.data(), n);
  int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

namespace {

uint16_t Get16(const Bytes& b, size_t at) {
  if (at + 2 > b.size()) throw std::runtime_error("cabinet truncated");
  return uint16_t(b[at] | b[at + 1] << 8);
}
uint32_t Get32(const Bytes& b, size_t at) { return Get16(b, at) | uint32_t(Get16(b, at + 2)) << 16; }
std::string GetString(const Bytes& b, size_t& at) {
  std::string s;
  while (at < b.size() && b[at]) s += char(b[at++]);
  ++at;
  return s;
}

// Compares the files under `dir` with `expected` ("\" in names read as "/").
std::string CompareTree(const std::string& dir, const Expected& expected) {
  std::set<std::string> found;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) found.insert(fs::relative(e.path(), dir).string());
  for (const auto& [name, data] : expected) {
    std::string rel = name;
    std::replace(rel.begin(), rel.end(), '\\', '/');
    if (!found.erase(rel)) return "missing " + name;
    if (ReadFile(dir + "/" + rel) != data) return "content differs: " + name;
  }
  if (!found.empty()) return "unexpected file " + *found.begin();
  return "";
}

}  // namespace

CabLayout ReadLayout(const std::string& path) {
  Bytes b = ReadFile(path);
  CabLayout c;
  if (b.size() < 36 || std::memcmp(b.data(), "MSCF", 4) != 0) throw std::runtime_error("no MSCF");
  c.cbCabinet = Get32(b, 8);
  uint32_t coffFiles = Get32(b, 16);
  uint16_t nFolders = Get16(b, 26), nFiles = Get16(b, 28);
  c.flags = Get16(b, 30);
  c.setID = Get16(b, 32);
  c.iCabinet = Get16(b, 34);
  size_t at = 36;
  if (c.flags & 4) {
    c.reserveHeader = Get16(b, 36);
    c.reserveFolder = b.at(38);
    c.reserveData = b.at(39);
    at = 40 + c.reserveHeader;
  }
  if (c.flags & 1) {
    c.prevCab = GetString(b, at);
    c.prevDisk = GetString(b, at);
  }
  if (c.flags & 2) {
    c.nextCab = GetString(b, at);
    c.nextDisk = GetString(b, at);
  }
  for (int i = 0; i < nFolders; ++i) {
    CabFolder f{Get32(b, at), Get16(b, at + 4), Get16(b, at + 6), {}, {}};
    at += 8 + c.reserveFolder;
    size_t d = f.dataOffset;
    for (int k = 0; k < f.blocks; ++k) {
      uint32_t sum = Get32(b, d);
      uint16_t cbData = Get16(b, d + 4), cbUncomp = Get16(b, d + 6);
      size_t payload = d + 8 + c.reserveData;
      if (payload + cbData > b.size()) throw std::runtime_error("data block beyond the end");
      if (sum != cab::DataBlockChecksum(b.data() + payload, cbData, cbUncomp)) c.checksumsOk = false;
      f.blockCompressed.push_back(cbData);
      f.blockUncompressed.push_back(cbUncomp);
      d = payload + cbData;
    }
    c.folders.push_back(f);
  }
  at = coffFiles;
  for (int i = 0; i < nFiles; ++i) {
    CabFile f{"", Get32(b, at), Get32(b, at + 4), Get16(b, at + 8), Get16(b, at + 10),
              Get16(b, at + 12), Get16(b, at + 14)};
    at += 16;
    f.name = GetString(b, at);
    c.files.push_back(f);
  }
  return c;
}

std::string CheckWithCabextract(const std::string& firstCabinet, const Expected& expected) {
  CommandResult t = RunCommand("cabextract -q -t " + Quote(firstCabinet));
  if (t.status != 0) return "cabextract -t failed: " + t.output;
  ScratchDir out;
  CommandResult x = RunCommand("cabextract -q -d " + Quote(out.path()) + " " + Quote(firstCabinet));
  if (x.status != 0) return "cabextract failed: " + x.output;
  std::string diff = CompareTree(out.path(), expected);
  return diff.empty() ? "" : "cabextract: " + diff;
}

std::string CheckWithLibmspack(const std::string& firstCabinet, const Expected& expected) {
  mscab_decompressor* d = mspack_create_cab_decompressor(nullptr);
  if (!d) return "no libmspack decompressor";
  std::vector<mscabd_cabinet*> unlinked;  // closed one by one; a linked set closes as one
  std::list<std::string> names;           // the library keeps using the file names
  std::string error;
  mscabd_cabinet* first = d->search(d, firstCabinet.c_str());
  if (!first) {
    error = "libmspack found no cabinet (error " + std::to_string(d->last_error(d)) + ")";
  } else {
    unlinked.push_back(first);
    std::string folder = firstCabinet.substr(0, firstCabinet.rfind('/') + 1);
    for (mscabd_cabinet* cab = first; error.empty() && cab->nextname;) {
      names.push_back(folder + cab->nextname);
      mscabd_cabinet* next = d->open(d, names.back().c_str());
      if (!next) {
        error = std::string("libmspack cannot open ") + cab->nextname;
        break;
      }
      if (d->append(d, cab, next) != MSPACK_ERR_OK) {
        error = "libmspack append failed: " + std::to_string(d->last_error(d));
        unlinked.push_back(next);
      }
      cab = next;
    }
  }
  if (error.empty()) {
    ScratchDir out;
    for (mscabd_file* f = first->files; f && error.empty(); f = f->next) {
      std::string rel = f->filename;
      std::replace(rel.begin(), rel.end(), '\\', '/');
      std::string target = out.path() + "/" + rel;
      fs::create_directories(fs::path(target).parent_path());
      if (d->extract(d, f, target.c_str()) != MSPACK_ERR_OK)
        error = std::string("libmspack extract failed for ") + f->filename + ": " +
                std::to_string(d->last_error(d));
    }
    if (error.empty()) {
      std::string diff = CompareTree(out.path(), expected);
      if (!diff.empty()) error = "libmspack: " + diff;
    }
  }
  for (mscabd_cabinet* c : unlinked) d->close(d, c);
  mspack_destroy_cab_decompressor(d);
  return error;
}

namespace {

std::string WinePath(const std::string& path) {
  std::string p = "Z:" + path;
  std::replace(p.begin(), p.end(), '/', '\\');
  return p;
}

// Builds the FDI program once per test run; "" with `skipped` set when impossible.
std::string FdiProgram(std::string& skipped) {
  static std::once_flag once;
  static std::string exe, reason;
  std::call_once(once, [] {
    reason = bvq::testing::WineSkipReason();
    if (!reason.empty()) return;
    if (RunCommand("command -v i686-w64-mingw32-gcc").status != 0) {
      reason = "the i686 mingw-w64 cross compiler is not installed";
      return;
    }
    std::string dir = std::string(BVQ_BINARY_DIR) + "/tests/cab-fdi";
    fs::create_directories(dir);
    std::string out = dir + "/fdi_extract.exe";
    CommandResult r = RunCommand("i686-w64-mingw32-gcc -O1 -o " + Quote(out) + " " +
                          Quote(std::string(BVQ_SOURCE_DIR) + "/tests/cab/fdi_extract.c") +
                          " -lcabinet");
    if (r.status != 0) throw std::runtime_error("cannot build the FDI program: " + r.output);
    exe = out;
  });
  skipped = reason;
  return exe;
}

}  // namespace

CommandResult RunUnderWine(const std::string& exe, const std::string& args) {
  std::string prefix = std::string(BVQ_BINARY_DIR) + "/tests/cab-fdi/wineprefix";
  return RunCommand("env -u DISPLAY WINEPREFIX=" + Quote(prefix) +
             " WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' wine " + Quote(exe) + " " + args);
}

std::string CheckWithWineFdi(const std::string& firstCabinet, const Expected& expected,
                             std::string& skipped) {
  std::string exe = FdiProgram(skipped);
  if (exe.empty()) return "";
  ScratchDir out;
  CommandResult r = RunUnderWine(exe, Quote(WinePath(firstCabinet)) + " " +
                                          Quote(WinePath(out.path()) + "\\"));
  if (r.status != 0) return "FDI extraction failed: " + r.output;
  std::string diff = CompareTree(out.path(), expected);
  return diff.empty() ? "" : "FDI: " + diff + "\n" + r.output;
}

std::string CheckWithWineExtrac32(const std::vector<std::string>& cabinets, const Expected& expected,
                                  std::string& skipped) {
  if (FdiProgram(skipped).empty()) return "";
  ScratchDir out;
  for (const std::string& cab : cabinets) {
    CommandResult r = RunUnderWine("extrac32", "/Y /E /L " + Quote(WinePath(out.path())) + " " + Quote(WinePath(cab)));
    if (r.status != 0) return "extrac32 failed on " + cab + ": " + r.output;
  }
  std::string diff = CompareTree(out.path(), expected);
  return diff.empty() ? "" : "extrac32: " + diff;
}

std::string WineFdiInfo(const std::string& cabinet, std::string& skipped) {
  std::string exe = FdiProgram(skipped);
  if (exe.empty()) return "";
  return RunUnderWine(exe, "/info " + Quote(WinePath(cabinet))).output;
}

}  // namespace bvq::cabtest
