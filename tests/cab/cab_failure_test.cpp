// Failures: unreadable sources, folders that cannot be created, full disks. Each raises
// CabinetError with its codes and leaves no temporary or half-written file.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <stdexcept>

#include "cab/cab_writer.h"
#include "cab_test_support.h"

namespace bvq::cabtest {
namespace {

TEST(CabFailureTest, MessageFormat) {
  const struct {
    int32_t code, system;
    const char* message;
  } cases[] = {
      {7, 0, " [0x0007]"},
      {0x12345, 0, " [0x12345]"},
      {6, ENOSPC, " [0x0006].\r\nNo space left on device [0x001C]."},
  };
  for (const auto& c : cases) {
    CabinetError e(c.code, c.system);
    EXPECT_EQ(std::string(e.what()), c.message);
    EXPECT_EQ(e.code(), c.code);
    EXPECT_EQ(e.systemError(), c.system);
  }
}

// Runs `body`, expecting CabinetError with the given codes.
template <class F>
void ExpectCabinetError(F&& body, int32_t code, int32_t system) {
  try {
    body();
    ADD_FAILURE() << "no CabinetError";
  } catch (const CabinetError& e) {
    EXPECT_EQ(e.code(), code) << e.what();
    EXPECT_EQ(e.systemError(), system) << e.what();
  }
}

TEST(CabFailureTest, UnreadableSourceRaisesAndTheSetGoesOn) {
  ScratchDir dir;
  WriteFile(dir / "good", TextBytes(5000, 1));
  mkdir((dir / "folder").c_str(), 0755);
  CabWriter w;
  w.SetCompressionType(CabCompression::MsZip);
  w.Open(dir / "u.cab");
  w.AddFile(dir / "good", "good", false);
  try {
    w.AddFile(dir / "missing", "missing", false);
    ADD_FAILURE() << "no CabinetError";
  } catch (const CabinetError& e) {
    EXPECT_EQ(e.code(), 1);
    EXPECT_EQ(e.systemError(), ENOENT);
    EXPECT_STREQ(e.what(), " [0x0001].\r\nNo such file or directory [0x0002].");
  }
  ExpectCabinetError([&] { w.AddFile(dir / "folder", "folder", false); }, 1, EISDIR);
  EXPECT_EQ(w.FilesInCabinet(), 1u);
  w.AddFile(dir / "good", "again", false);
  w.Close(true);
  EXPECT_EQ(CheckWithCabextract(dir / "u.cab", {{"good", TextBytes(5000, 1)}, {"again", TextBytes(5000, 1)}}), "");
}

TEST(CabFailureTest, FolderThatCannotBeCreated) {
  ScratchDir dir;
  WriteFile(dir / "plain", Bytes{1});
  CabWriter w;
  w.SetCompressionType(CabCompression::None);
  ExpectCabinetError([&] { w.Open(dir / "plain/sub/x.cab"); }, 6, ENOTDIR);
  EXPECT_FALSE(w.IsOpen());

  // A further cabinet whose folder cannot be created fails when that cabinet is written.
  WriteFile(dir / "src", RandomBytes(100000, 1));
  w.CabinetSizeThreshold = 40000;
  w.CabinetPathTemplate = dir / "plain/disk*";
  w.Open(dir / "first/x.cab");
  ExpectCabinetError([&] {
    w.AddFile(dir / "src", "src", false);
    w.Close(true);
  }, 6, ENOTDIR);
  w.Close(false);
  for (const std::string& name : ListFolder(dir / "first"))
    EXPECT_EQ(ReadLayout(dir / ("first/" + name)).cbCabinet, ReadFile(dir / ("first/" + name)).size());
}

TEST(CabFailureTest, NextCabinetUnderTheSameNameIsRefused) {
  ScratchDir dir;
  WriteFile(dir / "src", RandomBytes(100000, 1));
  CabWriter w;
  w.SetCompressionType(CabCompression::None);
  w.CabinetSizeThreshold = 40000;
  w.OnGetNextCabinet = [](CabWriter&, CabinetParams& cabinet, uint32_t, bool&) { cabinet.name = "same.cab"; };
  w.Open(dir / "same.cab");
  ExpectCabinetError([&] { w.AddFile(dir / "src", "src", false); }, 6, EEXIST);
  w.Close(false);
  EXPECT_TRUE(ListFolder(dir.path()) == std::vector<std::string>{"src"});
}

TEST(CabFailureTest, ExceptionFromAHandlerBreaksTheSet) {
  ScratchDir dir;
  WriteFile(dir / "src", RandomBytes(100000, 1));
  CabWriter w;
  w.SetCompressionType(CabCompression::None);
  w.OnFileStatus = [](CabWriter&, uint32_t, uint32_t, bool&) { throw std::runtime_error("handler"); };
  w.Open(dir / "out/x.cab");
  ExpectCabinetError([&] { w.AddFile(dir / "src", "src", false); }, 8, 0);
  // The set is broken: every further operation raises the same failure.
  w.OnFileStatus = nullptr;
  ExpectCabinetError([&] { w.AddFile(dir / "src", "again", false); }, 8, 0);
  ExpectCabinetError([&] { w.Close(true); }, 8, 0);
  w.Close(false);
  EXPECT_TRUE(ListFolder(dir / "out").empty());
}

// A small file system that fills up: a tmpfs where mounting is allowed.
class SmallDisk {
 public:
  explicit SmallDisk(const std::string& where) : path_(where) {
    mkdir(path_.c_str(), 0755);
    mounted_ = mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=64k") == 0;
  }
  ~SmallDisk() {
    if (mounted_) umount(path_.c_str());
  }
  bool mounted() const { return mounted_; }

 private:
  std::string path_;
  bool mounted_ = false;
};

TEST(CabFailureTest, FullDisk) {
  ScratchDir dir;
  SmallDisk disk(dir / "small");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  WriteFile(dir / "src", RandomBytes(200000, 1));
  {
    // Temporary data and cabinet on the full disk.
    CabWriter w;
    w.SetCompressionType(CabCompression::None);
    w.Open(dir / "small/a.cab");
    try {
      w.AddFile(dir / "src", "src", false);
      w.Close(true);
      ADD_FAILURE() << "no CabinetError";
    } catch (const CabinetError& e) {
      EXPECT_TRUE(e.code() == 4 || e.code() == 6) << e.what();
      EXPECT_EQ(e.systemError(), ENOSPC) << e.what();
    }
    w.Close(false);
    EXPECT_TRUE(ListFolder(dir / "small").empty());
  }
  {
    // Temporary data elsewhere: the cabinet itself does not fit.
    CabWriter w;
    w.SetCompressionType(CabCompression::None);
    w.TempFolder = dir.path();
    w.Open(dir / "small/b.cab");
    w.AddFile(dir / "src", "src", false);
    ExpectCabinetError([&] { w.Close(true); }, 6, ENOSPC);
    w.Close(false);
    EXPECT_TRUE(ListFolder(dir / "small").empty()) << "no half-written cabinet";
    EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"small", "src"}));
  }
}

}  // namespace
}  // namespace bvq::cabtest
