// Sets of several cabinets: folders continued across cabinets, names from templates,
// file-count and size thresholds, and streaming of payloads larger than memory needs.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "cab/cab_writer.h"
#include "cab_test_support.h"

namespace bvq::cabtest {
namespace {

constexpr uint16_t kFromPrev = 0xFFFD, kToNext = 0xFFFE, kPrevAndNext = 0xFFFF;

// Cabinet file names of a set, following the next links from the first cabinet.
std::vector<std::string> Chain(const std::string& folder, const std::string& first) {
  std::vector<std::string> names{first};
  for (;;) {
    CabLayout l = ReadLayout(folder + "/" + names.back());
    if (l.nextCab.empty()) return names;
    names.push_back(l.nextCab);
  }
}

Expected AddFiles(CabWriter& w, const ScratchDir& dir, const std::vector<std::pair<std::string, Bytes>>& files) {
  Expected expected;
  for (const auto& [name, data] : files) {
    WriteFile(dir / ("src/" + name), data);
    w.AddFile(dir / ("src/" + name), name, false);
    expected[name] = data;
  }
  return expected;
}

class CabSet : public ::testing::TestWithParam<CabCompression> {};

TEST_P(CabSet, FolderContinuesAcrossCabinetsOfExactSize) {
  ScratchDir dir;
  CabWriter w;
  w.SetCompressionType(GetParam());
  const uint32_t kSize = 50000;
  w.CabinetSizeThreshold = kSize;
  w.Open(dir / "set/data.cab");
  Expected expected = AddFiles(
      w, dir,
      {{"a.txt", TextBytes(120000, 1)}, {"big.bin", RandomBytes(160000, 2)}, {"empty", {}},
       {"b.txt", TextBytes(33000, 3)}, {"c.bin", RandomBytes(70000, 4)}, {"d.txt", TextBytes(500, 5)}});
  w.Close(true);

  std::vector<std::string> chain = Chain(dir / "set", "data.cab");
  ASSERT_GE(chain.size(), 4u);
  EXPECT_EQ(ListFolder(dir / "set").size(), chain.size());  // nothing else left behind
  bool sawPrevAndNext = false;
  for (size_t k = 0; k < chain.size(); ++k) {
    SCOPED_TRACE(chain[k]);
    EXPECT_EQ(chain[k], k == 0 ? "data.cab" : "data" + std::to_string(k) + ".cab");
    CabLayout l = ReadLayout(dir / ("set/" + chain[k]));
    EXPECT_TRUE(l.checksumsOk);
    EXPECT_EQ(l.iCabinet, k);
    EXPECT_EQ(l.cbCabinet, ReadFile(dir / ("set/" + chain[k])).size());
    if (k + 1 < chain.size()) {
      EXPECT_EQ(l.cbCabinet, kSize) << "a full cabinet is filled to the threshold";
      EXPECT_EQ(l.nextDisk, "Disk" + std::to_string(k + 2));
    }
    if (k > 0) {
      CabLayout prev = ReadLayout(dir / ("set/" + chain[k - 1]));
      EXPECT_EQ(l.prevCab, chain[k - 1]);
      EXPECT_EQ(l.prevDisk, "Disk" + std::to_string(k));
      // The files the previous cabinet continues are listed first here, with the same
      // folder offsets, and the continued folder holds nothing else.
      std::vector<const CabFile*> continued;
      for (const CabFile& f : prev.files)
        if (f.folder == kToNext || f.folder == kPrevAndNext) continued.push_back(&f);
      ASSERT_FALSE(continued.empty());
      ASSERT_GE(l.files.size(), continued.size());
      for (size_t i = 0; i < continued.size(); ++i) {
        EXPECT_EQ(l.files[i].name, continued[i]->name);
        EXPECT_EQ(l.files[i].offset, continued[i]->offset);
        EXPECT_TRUE(l.files[i].folder == kFromPrev || l.files[i].folder == kPrevAndNext);
        sawPrevAndNext |= l.files[i].folder == kPrevAndNext;
      }
      for (size_t i = continued.size(); i < l.files.size(); ++i) {
        EXPECT_NE(l.files[i].folder, kFromPrev);
        EXPECT_NE(l.files[i].folder, kPrevAndNext);
        EXPECT_NE(l.files[i].folder, 0);
      }
    }
  }
  EXPECT_TRUE(sawPrevAndNext) << "big.bin should span three cabinets";
  std::string first = dir / "set/data.cab";
  EXPECT_EQ(CheckWithCabextract(first, expected), "");
  EXPECT_EQ(CheckWithLibmspack(first, expected), "");
  std::string skipped;
  EXPECT_EQ(CheckWithWineFdi(first, expected, skipped), "");
  if (GetParam() == CabCompression::MsZip) {  // one Wine start per cabinet: once is enough
    std::vector<std::string> paths;
    for (const std::string& name : chain) paths.push_back(dir / ("set/" + name));
    EXPECT_EQ(CheckWithWineExtrac32(paths, expected, skipped), "");
  }
  if (!skipped.empty()) GTEST_SKIP() << "Wine check skipped: " << skipped;
}

INSTANTIATE_TEST_SUITE_P(StoredAndMsZip, CabSet, ::testing::Values(CabCompression::None, CabCompression::MsZip),
                         [](const auto& info) { return info.param == CabCompression::None ? "Stored" : "MsZip"; });

TEST(CabSetTest, ReservedAreasInEveryCabinetOfASet) {
  ScratchDir dir;
  CabWriter w;
  w.SetCompressionType(CabCompression::MsZip);
  w.CabinetSizeThreshold = 30000;
  w.ReservePerCabinetSize = 8;
  w.ReservePerFolderSize = 2;
  w.ReservePerDataSize = 4;
  w.Open(dir / "r.cab");
  Expected expected = AddFiles(w, dir, {{"a", RandomBytes(70000, 1)}, {"b", TextBytes(90000, 2)}});
  w.Close(true);
  std::vector<std::string> chain = Chain(dir.path(), "r.cab");
  ASSERT_GE(chain.size(), 3u);
  for (size_t k = 0; k + 1 < chain.size(); ++k) EXPECT_EQ(ReadLayout(dir / chain[k]).cbCabinet, 30000u);
  EXPECT_EQ(CheckWithCabextract(dir / "r.cab", expected), "");
  EXPECT_EQ(CheckWithLibmspack(dir / "r.cab", expected), "");
}

struct TemplateCase {
  const char* label;
  const char* open;  // relative to the scratch folder
  const char* nameTemplate;
  const char* pathTemplate;  // "%" stands for the scratch folder
  const char* diskTemplate;
  std::vector<std::string> cabinets;  // where the three cabinets land
  std::vector<std::string> disks;
};

TEST(CabSetTest, TemplatesNameFurtherCabinets) {
  const TemplateCase cases[] = {
      {"defaults", "data.cab", "", "", "", {"data.cab", "data1.cab", "data2.cab"}, {"Disk1", "Disk2", "Disk3"}},
      {"no dot", "payload", "", "", "", {"payload", "payload1", "payload2"}, {"Disk1", "Disk2", "Disk3"}},
      {"two stars", "first.cab", "part*_*.cab", "", "CD*", {"first.cab", "part1_1.cab", "part2_2.cab"},
       {"CD1", "CD2", "CD3"}},
      {"path template", "a/first.cab", "", "%/disk*", "", {"a/first.cab", "disk2/first1.cab", "disk3/first2.cab"},
       {"Disk1", "Disk2", "Disk3"}},
  };
  for (const TemplateCase& c : cases) {
    SCOPED_TRACE(c.label);
    ScratchDir dir;
    CabWriter w;
    w.SetCompressionType(CabCompression::None);
    w.CabinetFileCountThreshold = 1;
    w.CabinetNameTemplate = c.nameTemplate;
    std::string pathTemplate = c.pathTemplate;
    if (!pathTemplate.empty()) pathTemplate.replace(0, 1, dir.path());
    w.CabinetPathTemplate = pathTemplate;
    w.DiskLabelTemplate = c.diskTemplate;
    std::vector<std::string> labels;
    w.OnGetNextCabinet = [&](CabWriter&, CabinetParams& cabinet, uint32_t, bool&) { labels.push_back(cabinet.diskLabel); };
    w.Open(dir / c.open);
    AddFiles(w, dir, {{"1", TextBytes(10, 1)}, {"2", TextBytes(10, 2)}, {"3", TextBytes(10, 3)}});
    w.Close(true);
    EXPECT_EQ(labels, c.disks);
    for (size_t k = 0; k < 3; ++k) {
      std::string path = dir / c.cabinets[k];
      ASSERT_TRUE(Exists(path)) << path;
      CabLayout l = ReadLayout(path);
      ASSERT_EQ(l.files.size(), 1u);
      EXPECT_EQ(l.files[0].name, std::to_string(k + 1));
      if (k < 2) {
        EXPECT_EQ(l.nextCab, c.cabinets[k + 1].substr(c.cabinets[k + 1].rfind('/') + 1));
        EXPECT_EQ(l.nextDisk, c.disks[k + 1]);
      }
    }
  }
}

TEST(CabSetTest, GetNextCabinetFromOpenAndForEachFurtherCabinet) {
  // The build's way: every cabinet renamed by the handler, the list of cabinets kept.
  ScratchDir dir;
  CabWriter w;
  w.SetCompressionType(CabCompression::MsZip);
  w.CabinetSizeThreshold = 40000;
  std::vector<std::string> cabinets;
  std::vector<std::pair<int, int>> numbers;
  std::vector<uint32_t> prevSizes;
  int next = 0;
  w.OnGetNextCabinet = [&](CabWriter&, CabinetParams& cabinet, uint32_t prevSize, bool&) {
    char name[16];
    snprintf(name, sizeof name, "%04d.tmp", next++);
    cabinet.name = name;
    cabinets.push_back(cabinet.folder + cabinet.name);
    numbers.push_back({cabinet.cabinetIndex, cabinet.diskIndex});
    prevSizes.push_back(prevSize);
    if (numbers.size() == 1) {
      EXPECT_EQ(cabinet.maxSize, 40000u);
      EXPECT_EQ(cabinet.folderThreshold, 0x7FFFFFFFu);
      EXPECT_EQ(cabinet.diskLabel, "Disk1");
    }
  };
  w.Open(dir / "Pack/0000.tmp");
  Expected expected = AddFiles(w, dir, {{"0", RandomBytes(100000, 1)}, {"1", TextBytes(20000, 2)}});
  w.Close(true);
  ASSERT_GE(cabinets.size(), 3u);
  for (size_t k = 0; k < numbers.size(); ++k) EXPECT_EQ(numbers[k], std::make_pair(int(k), int(k + 1)));
  EXPECT_EQ(prevSizes[0], 0u);
  for (size_t k = 0; k < cabinets.size(); ++k) {
    EXPECT_EQ(cabinets[k], dir / ("Pack/000" + std::to_string(k) + ".tmp"));
    ASSERT_TRUE(Exists(cabinets[k]));
    if (k + 1 < cabinets.size()) {
      EXPECT_EQ(ReadFile(cabinets[k]).size(), 40000u);
      EXPECT_GT(prevSizes[k + 1], 0u);
    }
  }
  EXPECT_EQ(CheckWithCabextract(cabinets[0], expected), "");
  EXPECT_EQ(CheckWithLibmspack(cabinets[0], expected), "");
}

TEST(CabSetTest, FileCountThresholds) {
  ScratchDir dir;
  CabWriter w;
  w.SetCompressionType(CabCompression::MsZip);
  w.CabinetFileCountThreshold = 3;
  w.FolderFileCountThreshold = 2;
  w.Open(dir / "c.cab");
  std::vector<std::pair<std::string, Bytes>> files;
  for (int i = 0; i < 7; ++i) files.push_back({"f" + std::to_string(i), TextBytes(1000 + i, i)});
  Expected expected = AddFiles(w, dir, files);
  EXPECT_EQ(w.FilesInCabinet(), 1u);
  EXPECT_EQ(w.FilesInFolder(), 1u);
  w.Close(true);
  std::vector<std::string> chain = Chain(dir.path(), "c.cab");
  ASSERT_EQ(chain.size(), 3u);
  const size_t filesPer[] = {3, 3, 1}, foldersPer[] = {2, 2, 1};
  for (size_t k = 0; k < 3; ++k) {
    CabLayout l = ReadLayout(dir / chain[k]);
    EXPECT_EQ(l.files.size(), filesPer[k]) << chain[k];
    EXPECT_EQ(l.folders.size(), foldersPer[k]) << chain[k];
  }
  EXPECT_EQ(CheckWithCabextract(dir / "c.cab", expected), "");
  EXPECT_EQ(CheckWithLibmspack(dir / "c.cab", expected), "");
}

TEST(CabSetTest, FolderSizeThresholdAndExplicitFlushes) {
  ScratchDir dir;
  CabWriter w;
  w.SetCompressionType(CabCompression::None);
  w.FolderSizeThreshold = 40000;
  w.Open(dir / "t.cab");
  Expected expected = AddFiles(w, dir, {{"a", RandomBytes(30000, 1)}, {"b", RandomBytes(30000, 2)},
                                        {"c", RandomBytes(30000, 3)}});
  w.FlushFolder();
  EXPECT_EQ(w.FilesInFolder(), 0u);
  Expected more = AddFiles(w, dir, {{"d", RandomBytes(10, 4)}});
  w.StartNextCabinet();
  EXPECT_EQ(w.FilesInCabinet(), 0u);
  Expected last = AddFiles(w, dir, {{"e", RandomBytes(10, 5)}});
  w.Close(true);
  expected.insert(more.begin(), more.end());
  expected.insert(last.begin(), last.end());
  CabLayout first = ReadLayout(dir / "t.cab");
  // a and b fill the first folder past 40000 bytes; c opens the second; d the third.
  ASSERT_EQ(first.folders.size(), 3u);
  EXPECT_EQ(first.files[2].folder, 1);
  EXPECT_EQ(first.files[3].folder, 2);
  EXPECT_EQ(first.nextCab, "t1.cab");
  EXPECT_EQ(ReadLayout(dir / "t1.cab").prevCab, "t.cab");
  EXPECT_EQ(CheckWithCabextract(dir / "t.cab", expected), "");
  EXPECT_EQ(CheckWithLibmspack(dir / "t.cab", expected), "");
}

// Resident memory of this process in bytes.
long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

TEST(CabSetTest, LargePayloadStreamsWithBoundedMemory) {
  // 48 MB through the build's cabinet size: the writer's memory must not grow with it.
  ScratchDir dir;
  const std::string source = dir / "big.bin";
  {
    std::ofstream out(source, std::ios::binary);
    for (uint32_t i = 0; i < 48; ++i) {
      Bytes chunk = (i % 3 == 0) ? RandomBytes(1 << 20, i) : TextBytes(1 << 20, i);
      out.write(reinterpret_cast<const char*>(chunk.data()), std::streamsize(chunk.size()));
    }
  }
  long baseline = ResidentBytes();
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int status = 0;
    try {
      CabWriter w;
      w.SetCompressionType(CabCompression::MsZip);
      w.CabinetSizeThreshold = 0x800004;
      w.Open(dir / "Pack/big.cab");
      w.AddFile(source, "0", false);
      w.Close(true);
    } catch (...) {
      status = 1;
    }
    _exit(status);
  }
  int status = 0;
  struct rusage usage {};
  ASSERT_EQ(wait4(child, &status, 0, &usage), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  long grown = usage.ru_maxrss * 1024L - baseline;
  EXPECT_LT(grown, 16L << 20) << "peak resident memory grew by " << grown << " bytes";

  std::vector<std::string> chain = Chain(dir / "Pack", "big.cab");
  ASSERT_GE(chain.size(), 3u);
  for (size_t k = 0; k + 1 < chain.size(); ++k)
    EXPECT_EQ(ReadLayout(dir / ("Pack/" + chain[k])).cbCabinet, 0x800004u);
  CommandResult t = RunCommand("cabextract -t " + Quote(dir / "Pack/big.cab"));
  ASSERT_EQ(t.status, 0) << t.output;
  CommandResult sum = RunCommand("md5sum " + Quote(source));
  EXPECT_NE(t.output.find(sum.output.substr(0, 32)), std::string::npos) << t.output;
}

}  // namespace
}  // namespace bvq::cabtest
