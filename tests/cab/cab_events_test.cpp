// The writer's events: what they report, pacing, skipping, and aborts from each of them.
#include <gtest/gtest.h>

#include <functional>

#include "cab/cab_writer.h"
#include "cab_test_support.h"

namespace bvq::cabtest {
namespace {

TEST(CabEventsTest, StatusReportsAndProgressPacing) {
  ScratchDir dir;
  WriteFile(dir / "src", RandomBytes(20 * 32768, 1));
  CabWriter w;
  w.SetCompressionType(CabCompression::None);
  std::vector<std::string> log;
  w.OnFileStatus = [&](CabWriter&, uint32_t c, uint32_t u, bool&) {
    log.push_back("file " + std::to_string(c) + "/" + std::to_string(u));
  };
  w.OnProgress = [&](CabWriter&, bool&) { log.push_back("progress"); };
  w.OnFolderStatus = [&](CabWriter&, uint32_t copied, uint32_t total, bool&) {
    log.push_back("folder " + std::to_string(copied) + "/" + std::to_string(total));
  };
  uint32_t estimated = 0, actual = 0;
  w.OnCabinetStatus = [&](CabWriter&, uint32_t e, uint32_t a, uint32_t& desired, bool&) {
    EXPECT_EQ(desired, 0u);
    estimated = e;
    actual = a;
    log.push_back("cabinet");
  };
  w.Open(dir / "s.cab");
  w.AddFile(dir / "src", "f", false);
  w.Close(true);

  std::vector<std::string> expected;
  for (int block = 1; block <= 20; ++block) {
    expected.push_back("file 32768/32768");
    if (block == 2 || block == 11 || block == 20) expected.push_back("progress");
  }
  expected.push_back("folder 655360/655360");
  expected.push_back("cabinet");
  EXPECT_EQ(log, expected);
  EXPECT_EQ(w.ProgressCountdown(), 7);
  EXPECT_EQ(actual, ReadFile(dir / "s.cab").size());
  EXPECT_EQ(estimated, actual);
}

TEST(CabEventsTest, FilePlacedOncePerCabinetWithContinuationFlag) {
  ScratchDir dir;
  WriteFile(dir / "a", RandomBytes(120000, 1));
  WriteFile(dir / "b", RandomBytes(10, 2));
  CabWriter w;
  w.SetCompressionType(CabCompression::None);
  w.CabinetSizeThreshold = 50000;
  std::vector<std::string> placed;
  w.OnFilePlaced = [&](CabWriter&, const CabinetParams& cabinet, const std::string& name, int32_t size,
                       bool continuation, bool&) {
    placed.push_back(cabinet.name + ":" + name + ":" + std::to_string(size) + (continuation ? ":cont" : ""));
  };
  std::vector<uint32_t> actual;
  w.OnCabinetStatus = [&](CabWriter&, uint32_t, uint32_t a, uint32_t&, bool&) { actual.push_back(a); };
  w.Open(dir / "p.cab");
  w.AddFile(dir / "a", "a", false);
  w.AddFile(dir / "b", "b", false);
  w.Close(true);
  EXPECT_EQ(placed, (std::vector<std::string>{"p.cab:a:120000", "p1.cab:a:120000:cont",
                                               "p2.cab:a:120000:cont", "p2.cab:b:10"}));
  ASSERT_EQ(actual.size(), 3u);
  EXPECT_EQ(actual[0], 50000u);
  EXPECT_EQ(actual[1], 50000u);
}

TEST(CabEventsTest, BeforeFileAddCanSkip) {
  ScratchDir dir;
  WriteFile(dir / "keep", TextBytes(10, 1));
  WriteFile(dir / "skip", TextBytes(10, 2));
  CabWriter w;
  w.SetCompressionType(CabCompression::MsZip);
  std::vector<std::string> asked;
  w.OnBeforeFileAdd = [&](CabWriter&, const std::string& source, bool& skip) {
    asked.push_back(source);
    skip = source.find("skip") != std::string::npos;
  };
  w.Open(dir / "k.cab");
  w.AddFile(dir / "keep", "keep", false);
  w.AddFile(dir / "skip", "skip", false);
  EXPECT_EQ(w.FilesInCabinet(), 1u);
  EXPECT_EQ(w.FilesInFolder(), 1u);
  w.Close(true);
  EXPECT_EQ(asked, (std::vector<std::string>{dir / "keep", dir / "skip"}));
  EXPECT_EQ(CheckWithCabextract(dir / "k.cab", {{"keep", TextBytes(10, 1)}}), "");
}

TEST(CabEventsTest, AbortInOpenLeavesTheWriterClosedSilently) {
  ScratchDir dir;
  CabWriter w;
  int calls = 0;
  w.OnGetNextCabinet = [&](CabWriter&, CabinetParams& cabinet, uint32_t prev, bool& abort) {
    ++calls;
    EXPECT_EQ(prev, 0u);
    EXPECT_EQ(cabinet.cabinetIndex, 0);
    EXPECT_EQ(cabinet.diskIndex, 1);
    abort = true;
  };
  EXPECT_NO_THROW(w.Open(dir / "new/x.cab"));
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(w.IsOpen());
  EXPECT_FALSE(Exists(dir / "new"));
}

// Installs a handler on `w` that aborts at its first call (for OnGetNextCabinet: at the
// first call after Open).
using AbortInstaller = std::function<void(CabWriter& w)>;

struct AbortCase {
  const char* event;
  AbortInstaller install;
};

TEST(CabEventsTest, AbortFromAnyEventRaisesUserAbort) {
  const AbortCase cases[] = {
      {"OnFilePlaced", [](CabWriter& w) {
         w.OnFilePlaced = [](CabWriter&, const CabinetParams&, const std::string&, int32_t, bool, bool& a) { a = true; };
       }},
      {"OnGetNextCabinet", [](CabWriter& w) {
         w.OnGetNextCabinet = [n = 0](CabWriter&, CabinetParams&, uint32_t, bool& a) mutable { a = ++n > 1; };
       }},
      {"OnFileStatus", [](CabWriter& w) {
         w.OnFileStatus = [](CabWriter&, uint32_t, uint32_t, bool& a) { a = true; };
       }},
      {"OnFolderStatus", [](CabWriter& w) {
         w.OnFolderStatus = [](CabWriter&, uint32_t, uint32_t, bool& a) { a = true; };
       }},
      {"OnCabinetStatus", [](CabWriter& w) {
         w.OnCabinetStatus = [](CabWriter&, uint32_t, uint32_t, uint32_t&, bool& a) { a = true; };
       }},
      {"OnProgress", [](CabWriter& w) { w.OnProgress = [](CabWriter&, bool& a) { a = true; }; }},
  };
  for (const AbortCase& c : cases) {
    SCOPED_TRACE(c.event);
    ScratchDir dir;
    WriteFile(dir / "src/a", RandomBytes(120000, 1));
    WriteFile(dir / "src/b", TextBytes(100, 2));
    CabWriter w;
    w.SetCompressionType(CabCompression::MsZip);
    w.CabinetSizeThreshold = 50000;
    c.install(w);
    w.Open(dir / "out/x.cab");
    bool raised = false;
    try {
      w.AddFile(dir / "src/a", "a", false);
      w.AddFile(dir / "src/b", "b", false);
      w.Close(true);
    } catch (const CabinetError& e) {
      raised = true;
      EXPECT_EQ(e.code(), 7);
      EXPECT_EQ(e.systemError(), 0);
      EXPECT_STREQ(e.what(), " [0x0007]");
      EXPECT_TRUE(w.IsOpen()) << "the exception leaves the set open";
      EXPECT_THROW(w.AddFile(dir / "src/b", "b", false), CabinetError);
      w.Close(false);
    }
    EXPECT_TRUE(raised);
    EXPECT_FALSE(w.IsOpen());
    // Only complete cabinets may remain: no temporary or half-written file.
    for (const std::string& name : ListFolder(dir / "out"))
      EXPECT_EQ(ReadLayout(dir / ("out/" + name)).cbCabinet, ReadFile(dir / ("out/" + name)).size()) << name;
  }
}

}  // namespace
}  // namespace bvq::cabtest
