#include "pe_fixtures.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace restest {

namespace {

const std::string kSourceDir = std::string(BVQ_SOURCE_DIR) + "/tests/resedit";

void Put16(std::string& s, uint16_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}
void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
uint32_t Get32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(s[at + i])) << (8 * i);
  return v;
}
uint16_t Get16(const std::string& s, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | (static_cast<uint8_t>(s[at + 1]) << 8));
}

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what);
}

std::string BuildFixture(Fixture fixture) {
  const std::string dir = NewDir("fixture");
  WriteBytes(dir + "/main.ico", MakeIco(MainIconSizes(), 0x00C03020));
  WriteBytes(dir + "/other.ico", MakeIco(OtherIconSizes(), 0x002080F0));
  const std::string exe = dir + "/fixture.exe";
  std::string objects = Quote(dir + "/hello.o");
  std::string out;
  Check(Run("cd " + Quote(dir) + " && i686-w64-mingw32-gcc -O1 -c -o hello.o " + Quote(kSourceDir + "/fixtures/hello.c"),
            &out) == 0,
        "compiling the test program: " + out);
  if (fixture != Fixture::NoResources) {
    Check(Run("cd " + Quote(dir) + " && i686-w64-mingw32-windres -I . " + Quote(kSourceDir + "/fixtures/hello.rc") +
                  " -O coff -o res.o",
              &out) == 0,
          "compiling the resources: " + out);
    objects += " " + Quote(dir + "/res.o");
  }
  std::string link = "i686-w64-mingw32-gcc -o " + Quote(exe) + " " + objects;
  if (fixture == Fixture::DebugTable) link += " " + Quote(kSourceDir + "/fixtures/dbgdir.s");
  else link += " -Wl,--build-id";
  Check(Run(link, &out) == 0, "linking the test program: " + out);
  // Appended data after the last section (odd length: the checksum's last word is a half).
  std::string appended;
  for (int i = 0; i < 1001; ++i) appended += static_cast<char>('A' + i % 26);
  std::ofstream(exe, std::ios::binary | std::ios::app).write(appended.data(), static_cast<std::streamsize>(appended.size()));
  return exe;
}

}  // namespace

const std::string& ScratchDir() {
  static const std::string dir = [] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/bvq-resedit-test-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    Check(mkdtemp(buf.data()) != nullptr, "cannot create a scratch folder");
    static std::string made(buf.data());
    static const pid_t owner = getpid();
    std::atexit([] {
      if (getpid() == owner) {
        std::error_code ec;
        fs::remove_all(made, ec);
      }
    });
    return made;
  }();
  return dir;
}

std::string NewDir(const std::string& hint) {
  static std::mutex m;
  static int counter = 0;
  std::lock_guard<std::mutex> lock(m);
  const std::string dir = ScratchDir() + "/" + hint + "-" + std::to_string(++counter);
  fs::create_directories(dir);
  return dir;
}

int Run(const std::string& command, std::string* output) {
  FILE* p = popen(("(" + command + ") 2>&1").c_str(), "r");
  if (!p) return -1;
  std::string text;
  std::array<char, 4096> buf{};
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) text.append(buf.data(), n);
  const int status = pclose(p);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const std::string& text) {
  std::string q = "'";
  for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Check(out.good(), "cannot write " + path);
}

std::string Md5(const std::string& bytes) {
  const std::string path = NewDir("md5") + "/data";
  WriteBytes(path, bytes);
  return FileMd5(path);
}

std::string FileMd5(const std::string& path) {
  std::string out;
  Run("md5sum " + Quote(path), &out);
  return out.substr(0, 32);
}

std::string DibImage(int size, uint32_t colour) {
  std::string s;
  const int maskRow = (size + 31) / 32 * 4;
  Put32(s, 40);
  Put32(s, static_cast<uint32_t>(size));
  Put32(s, static_cast<uint32_t>(2 * size));
  Put16(s, 1);
  Put16(s, 32);
  Put32(s, 0);
  Put32(s, static_cast<uint32_t>(size * size * 4 + maskRow * size));
  for (int i = 0; i < 4; ++i) Put32(s, 0);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) Put32(s, 0xFF000000u | (colour + static_cast<uint32_t>(x * 3 + y * 5)));
  s.append(static_cast<size_t>(maskRow * size), '\0');
  return s;
}

std::string MakeIco(const std::vector<int>& sizes, uint32_t firstColour) {
  std::string header, images;
  Put16(header, 0);
  Put16(header, 1);
  Put16(header, static_cast<uint16_t>(sizes.size()));
  const size_t dataStart = 6 + 16 * sizes.size();
  for (size_t i = 0; i < sizes.size(); ++i) {
    const std::string image = DibImage(sizes[i], firstColour + static_cast<uint32_t>(i) * 0x00102030u);
    header += static_cast<char>(sizes[i] >= 256 ? 0 : sizes[i]);
    header += static_cast<char>(sizes[i] >= 256 ? 0 : sizes[i]);
    header += '\0';
    header += '\0';
    Put16(header, 1);
    Put16(header, 32);
    Put32(header, static_cast<uint32_t>(image.size()));
    Put32(header, static_cast<uint32_t>(dataStart + images.size()));
    images += image;
  }
  return header + images;
}

std::vector<IcoImageInfo> ReadIcoImages(const std::string& ico) {
  std::vector<IcoImageInfo> images;
  if (ico.size() < 6) return images;
  const int count = Get16(ico, 4);
  for (int i = 0; i < count && 6 + 16 * (i + 1) <= static_cast<int>(ico.size()); ++i) {
    const size_t e = 6 + 16 * static_cast<size_t>(i);
    IcoImageInfo info;
    info.width = static_cast<uint8_t>(ico[e]) ? static_cast<uint8_t>(ico[e]) : 256;
    info.height = static_cast<uint8_t>(ico[e + 1]) ? static_cast<uint8_t>(ico[e + 1]) : 256;
    info.bitCount = Get16(ico, e + 6);
    const uint32_t size = Get32(ico, e + 8), offset = Get32(ico, e + 12);
    if (uint64_t{offset} + size <= ico.size()) info.bytes = ico.substr(offset, size);
    images.push_back(std::move(info));
  }
  return images;
}

const std::vector<int>& MainIconSizes() {
  static const std::vector<int> sizes{16, 32, 128};
  return sizes;
}
const std::vector<int>& OtherIconSizes() {
  static const std::vector<int> sizes{16, 24};
  return sizes;
}

std::string CopyFixture(Fixture fixture, const std::string& dir, const std::string& name) {
  static std::mutex m;
  static std::map<Fixture, std::string> built;
  std::string source;
  {
    std::lock_guard<std::mutex> lock(m);
    auto it = built.find(fixture);
    if (it == built.end()) it = built.emplace(fixture, BuildFixture(fixture)).first;
    source = it->second;
  }
  const std::string target = dir + "/" + name;
  fs::copy_file(source, target, fs::copy_options::overwrite_existing);
  return target;
}

const PeFacts::Section* PeFacts::FindSection(const std::string& name) const {
  for (const auto& s : sections)
    if (s.name == name) return &s;
  return nullptr;
}

int PeFacts::SectionIndex(const std::string& name) const {
  for (size_t i = 0; i < sections.size(); ++i)
    if (sections[i].name == name) return static_cast<int>(i);
  return -1;
}

const PeFacts::Resource* PeFacts::FindResource(const std::string& type, const std::string& name) const {
  for (const auto& r : resources)
    if (r.type == type && r.name == name) return &r;
  return nullptr;
}

PeFacts ReadPeFacts(const std::string& path, int debugEntries) {
  PeFacts facts;
  std::string out;
  const int status = Run("/usr/bin/python3 " + Quote(kSourceDir + "/pe_facts.py") + " " + Quote(path) +
                             (debugEntries ? " " + std::to_string(debugEntries) : std::string()),
                         &out);
  facts.text = out;
  facts.parsed = status == 0;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream in(line);
    std::string key;
    in >> key;
    if (key == "size") in >> facts.size;
    else if (key == "checksum") in >> facts.storedChecksum >> facts.generatedChecksum;
    else if (key == "warnings") in >> facts.warnings;
    else if (key == "image") in >> facts.sizeOfImage >> facts.sizeOfInitializedData >> facts.symbolTable;
    else if (key == "section") {
      PeFacts::Section s;
      in >> s.name >> s.va >> s.vsize >> s.ptr >> s.raw >> s.md5;
      facts.sections.push_back(s);
    } else if (key == "dir") {
      int index;
      uint64_t va, size;
      in >> index >> va >> size;
      facts.dirs.emplace_back(va, size);
    } else if (key == "res") {
      PeFacts::Resource r;
      in >> r.type >> r.name >> r.lang >> r.size >> r.md5 >> r.offset;
      facts.resources.push_back(r);
    } else if (key == "group") {
      std::string name, ids;
      int lang;
      in >> name >> lang >> ids;
      facts.groups[name + "/" + std::to_string(lang)] = ids;
    } else if (key == "debug") {
      int index;
      PeFacts::Debug d;
      in >> index >> d.address >> d.pointer >> d.size >> d.md5;
      facts.debug.push_back(d);
    } else if (key == "overlay") {
      uint64_t offset;
      in >> offset >> facts.overlayMd5;
      facts.overlayOffset = offset;
    }
  }
  return facts;
}

std::optional<std::vector<IcoImageInfo>> WrestoolGroupImages(const std::string& exe, const std::string& group) {
  const std::string out = NewDir("wrestool") + "/group.ico";
  std::string text;
  if (Run("wrestool -x --type=14 --name=" + Quote(group) + " -o " + Quote(out) + " " + Quote(exe), &text) != 0 ||
      !fs::exists(out))
    return std::nullopt;
  return ReadIcoImages(ReadBytes(out));
}

}  // namespace restest
