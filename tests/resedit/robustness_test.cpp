// Malformed and truncated files, random damage, and write-backs that cannot complete: the
// editor refuses or fails cleanly and leaves the file as it was.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <random>

#include "pe_fixtures.h"
#include "resedit/icon_group.h"
#include "resedit/replace_exe_icon.h"

using namespace restest;

namespace {

uint32_t Get32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(s.at(at + i))) << (8 * i);
  return v;
}
void Set32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.at(at + i) = static_cast<char>(v >> (8 * i));
}
void Set16(std::string& s, size_t at, uint16_t v) {
  s.at(at) = static_cast<char>(v);
  s.at(at + 1) = static_cast<char>(v >> 8);
}

// Offsets inside the Hello fixture, found by pefile and by following the tree's first path.
struct Layout {
  size_t optHeader = 0, fileHeader = 0, rsrc = 0, rsrcRaw = 0, lastRawEnd = 0;
  size_t TypeDir(const std::string& f, int entry) const { return rsrc + (Get32(f, rsrc + 16 + 8 * entry + 4) & 0x7FFFFFFF); }
  size_t FirstChild(const std::string& f, size_t dir) const { return rsrc + (Get32(f, dir + 16 + 4) & 0x7FFFFFFF); }
};

Layout HelloLayout(const std::string& exe, const std::string& bytes) {
  const PeFacts facts = ReadPeFacts(exe);
  Layout l;
  l.fileHeader = Get32(bytes, 0x3C) + 4;
  l.optHeader = l.fileHeader + 20;
  l.rsrc = facts.FindSection(".rsrc")->ptr;
  l.rsrcRaw = facts.FindSection(".rsrc")->raw;
  for (const auto& s : facts.sections) l.lastRawEnd = std::max<size_t>(l.lastRawEnd, s.ptr + s.raw);
  return l;
}

struct BadFile {
  const char* what;
  std::function<void(std::string&, const Layout&)> damage;
  int error;
};

TEST(Robustness, MalformedFilesAreRefusedAndLeftUntouched) {
  const std::string dir = NewDir("malformed");
  const std::string fixture = CopyFixture(Fixture::Hello, dir, "fixture.exe");
  const std::string original = ReadBytes(fixture);
  const Layout L = HelloLayout(fixture, original);
  WriteBytes(dir + "/icon.ico", MakeIco({16}, 0x00102030));
  // Root entries of the fixture: types 3, 10, 14, 16; the first group of type 14 is "MAINICON".
  const BadFile cases[] = {
      {"not an executable", [](std::string& f, const Layout&) { f = "plain text, not a program"; }, ENOEXEC},
      {"empty file", [](std::string& f, const Layout&) { f.clear(); }, ENOEXEC},
      {"MZ header only", [](std::string& f, const Layout&) { f.resize(0x40); }, ENOEXEC},
      {"PE signature out of the file", [](std::string& f, const Layout&) { Set32(f, 0x3C, 0x7FFFFFF0); }, ENOEXEC},
      {"64-bit optional header", [](std::string& f, const Layout& l) { Set16(f, l.optHeader, 0x20B); }, ENOEXEC},
      {"section table beyond the file", [](std::string& f, const Layout& l) { Set16(f, l.fileHeader + 2, 0xFFFF); },
       ENOEXEC},
      {"file alignment zero", [](std::string& f, const Layout& l) { Set32(f, l.optHeader + 36, 0); }, ENOEXEC},
      {"resource section cut off", [](std::string& f, const Layout& l) { f.resize(l.rsrc + 100); }, ENOEXEC},
      {"subdirectory outside the section",
       [](std::string& f, const Layout& l) { Set32(f, l.rsrc + 16 + 4, 0xFFFFFFF0); }, ENOEXEC},
      {"loop back to the root", [](std::string& f, const Layout& l) { Set32(f, l.rsrc + 16 + 4, 0x80000000); },
       ENOEXEC},
      {"loop to itself",
       [](std::string& f, const Layout& l) {
         const size_t type = l.TypeDir(f, 0);
         Set32(f, type + 16 + 4, 0x80000000u | static_cast<uint32_t>(type - l.rsrc));
       },
       ENOEXEC},
      {"entry counts beyond the section", [](std::string& f, const Layout& l) { Set16(f, l.rsrc + 14, 0xFFFF); },
       ENOEXEC},
      {"data outside the section",
       [](std::string& f, const Layout& l) { Set32(f, l.FirstChild(f, l.FirstChild(f, l.TypeDir(f, 0))), 0xFFFFFF00); },
       ENOEXEC},
      {"data size beyond the section",
       [](std::string& f, const Layout& l) {
         Set32(f, l.FirstChild(f, l.FirstChild(f, l.TypeDir(f, 0))) + 4, 0x7FFFFFFF);
       },
       ENOEXEC},
      {"name outside the section",
       [](std::string& f, const Layout& l) { Set32(f, l.TypeDir(f, 2) + 16, 0xFFFFFFF0); }, ENOEXEC},
      {"resource directory matching no section",
       [](std::string& f, const Layout& l) { Set32(f, l.optHeader + 96 + 16, 0x7FFF0000); }, ENOENT},
  };
  for (const BadFile& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = original;
    c.damage(bytes, L);
    const std::string exe = dir + "/bad.exe";
    WriteBytes(exe, bytes);
    errno = 0;
    EXPECT_EQ(bvq::BeginResourceUpdate(exe, false), nullptr);
    EXPECT_EQ(errno, c.error) << std::strerror(errno);
    EXPECT_FALSE(bvq::ReplaceExeIcon(exe, dir + "/icon.ico", "MAINICON", 0));
    EXPECT_TRUE(ReadBytes(exe) == bytes);
    EXPECT_EQ(bvq::CountIconGroups(exe), 0);
  }
  errno = 0;
  EXPECT_EQ(bvq::BeginResourceUpdate(dir + "/missing.exe", false), nullptr);
  EXPECT_EQ(errno, ENOENT);
  const std::string nores = CopyFixture(Fixture::NoResources, dir, "nores.exe");
  errno = 0;
  EXPECT_EQ(bvq::BeginResourceUpdate(nores, false), nullptr);
  EXPECT_EQ(errno, ENOENT);
}

// Opens, replaces the icon group and writes back; the result must open again.
void EditAndReopen(const std::string& exe, const std::string& ico, const std::string& before) {
  bvq::ResourceUpdate* u = bvq::BeginResourceUpdate(exe, false);
  if (!u) {
    EXPECT_TRUE(ReadBytes(exe) == before) << "a refused file is untouched";
    return;
  }
  bvq::LoadIconGroupFromIco(u, "MAINICON", 0, ico);
  if (!bvq::EndResourceUpdate(u, false)) return;
  bvq::ResourceUpdate* again = bvq::BeginResourceUpdate(exe, false);
  EXPECT_NE(again, nullptr) << "what was written reads back";
  if (again) bvq::EndResourceUpdate(again, true);
}

TEST(Robustness, TruncationsAtManyOffsets) {
  const std::string dir = NewDir("truncate");
  const std::string fixture = CopyFixture(Fixture::Hello, dir, "fixture.exe");
  const std::string original = ReadBytes(fixture);
  const Layout L = HelloLayout(fixture, original);
  WriteBytes(dir + "/icon.ico", MakeIco({16, 32}, 0x00102030));
  std::vector<size_t> cuts;
  for (size_t at = 0; at < 0x400; at += 7) cuts.push_back(at);
  for (size_t at = L.rsrc - 8; at < L.rsrc + L.rsrcRaw + 8; at += 397) cuts.push_back(at);
  for (size_t at = 0; at < original.size(); at += 4093) cuts.push_back(at);
  cuts.push_back(L.lastRawEnd - 1);
  cuts.push_back(L.lastRawEnd);
  for (size_t cut : cuts) {
    SCOPED_TRACE(cut);
    const std::string exe = dir + "/cut.exe";
    const std::string bytes = original.substr(0, cut);
    WriteBytes(exe, bytes);
    if (cut < L.lastRawEnd) {
      EXPECT_EQ(bvq::BeginResourceUpdate(exe, false), nullptr);
      EXPECT_TRUE(ReadBytes(exe) == bytes);
    } else {
      EditAndReopen(exe, dir + "/icon.ico", bytes);
    }
  }
}

TEST(Robustness, RandomDamageToTheResourceDirectory) {
  const std::string dir = NewDir("flips");
  const std::string fixture = CopyFixture(Fixture::Hello, dir, "fixture.exe");
  const std::string original = ReadBytes(fixture);
  const Layout L = HelloLayout(fixture, original);
  WriteBytes(dir + "/icon.ico", MakeIco({16, 32}, 0x00102030));
  std::mt19937 random(20240611);
  int opened = 0;
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    std::string bytes = original;
    const int flips = 1 + static_cast<int>(random() % 6);
    for (int k = 0; k < flips; ++k) {
      // The directories, entries and names of the fixture lie in the first 400 bytes.
      const size_t at = L.rsrc + random() % 400;
      bytes[at] = static_cast<char>(bytes[at] ^ (1u << (random() % 8)));
    }
    const std::string exe = dir + "/damaged.exe";
    WriteBytes(exe, bytes);
    if (bvq::ResourceUpdate* probe = bvq::BeginResourceUpdate(exe, false)) {
      ++opened;
      bvq::EndResourceUpdate(probe, true);
    }
    EditAndReopen(exe, dir + "/icon.ico", bytes);
  }
  RecordProperty("opened", opened);
}

// Runs the edit in a child whose file size limit is `limit`: the write-back must fail and
// leave the file unchanged.
void ExpectFailedWriteBackUnderSizeLimit(const std::string& exe, const std::string& ico, rlim_t limit) {
  const std::string before = ReadBytes(exe);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit rl{limit, limit};
    setrlimit(RLIMIT_FSIZE, &rl);
    bvq::ResourceUpdate* u = bvq::BeginResourceUpdate(exe, false);
    if (!u) _exit(2);
    if (!bvq::LoadIconGroupFromIco(u, "MAINICON", 0, ico)) _exit(3);
    _exit(bvq::EndResourceUpdate(u, false) ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: written although it could not be, 2: not opened, 3: icon not loaded";
  EXPECT_TRUE(ReadBytes(exe) == before);
}

TEST(Robustness, AWriteBackThatCannotCompleteLeavesTheFileUnchanged) {
  const std::string dir = NewDir("nospace");
  const std::string exe = CopyFixture(Fixture::Hello, dir);
  // Two 128 x 128 images of 68 KB each: a limit of 100000 bytes holds each large leaf's
  // temporary file but not the new section (about 140 KB); the file's size plus 4 KB holds the
  // new section but not the grown file.
  const std::string ico = dir + "/big.ico";
  WriteBytes(ico, MakeIco({16, 128, 128}, 0x00102030));
  const rlim_t size = ReadBytes(exe).size();
  {
    SCOPED_TRACE("no room for the new section");
    ExpectFailedWriteBackUnderSizeLimit(exe, ico, 100000);
  }
  {
    SCOPED_TRACE("no room to grow the file");
    ExpectFailedWriteBackUnderSizeLimit(exe, ico, size + 4096);
  }
  EXPECT_TRUE(bvq::ReplaceExeIcon(exe, ico, "MAINICON", 0)) << "without the limit it works";
  EXPECT_GT(ReadBytes(exe).size(), size + 4096);
}

}  // namespace
