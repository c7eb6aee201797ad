#include "setup_build/volume_writer.h"

#include <filesystem>

#include "setup_build/build_cancel.h"
#include "test_support.h"

namespace bvq {
namespace {
using test::PatternBytes;
using test::ReadFile;
using test::WriteFile;

struct VolumeFixture : ::testing::Test {
  test::TempFolder dir;
  test::RecordingReporter reporter;
  BuildProgress progress{reporter};
  int highest = 0;
  void SetUp() override { ResetBuildCancel(); }
  void TearDown() override { ResetBuildCancel(); }
  std::string Volume(int n) const { return n == 0 ? dir / "Setup.exe" : dir / ("disk" + std::to_string(n + 1) + ".pak"); }
  std::function<std::string(int)> VolumePathFn() const {
    return [this](int n) { return Volume(n); };
  }
  // Fake cabinets: 4 signature bytes plus `body` bytes each; returns the paths.
  std::vector<std::string> MakeCabinets(const std::vector<std::string>& bodies) {
    std::vector<std::string> paths;
    for (size_t i = 0; i < bodies.size(); ++i) {
      paths.push_back(dir / ("Pack/000" + std::to_string(i) + ".tmp"));
      WriteFile(paths.back(), "MSCF" + bodies[i]);
    }
    return paths;
  }
};

// The trailer read back from the end of a file.
SetupTrailer TrailerOf(const std::string& bytes) {
  auto t = DecodeSetupTrailer(reinterpret_cast<const uint8_t*>(bytes.data()) + bytes.size() - kSetupTrailerSize);
  EXPECT_TRUE(t.has_value());
  return t.value_or(SetupTrailer{});
}

TEST_F(VolumeFixture, DisketteSplitOfThreeMillionBytes) {
  const std::string fixed = PatternBytes(100000, 7);
  WriteFile(Volume(0), fixed);
  const uint64_t payloadSize = 3000000 - 100000 - 36;
  const std::string a = PatternBytes(2000000, 1), b = PatternBytes(payloadSize - 2000000, 2);
  auto cabinets = MakeCabinets({a, b});
  auto reader = MakeCabinetPayloadReader(cabinets);
  VolumeLayout layout;
  layout.fixedSize = fixed.size();
  layout.payloadSize = payloadSize;
  layout.volumeSize = kDisketteVolumeSize;
  layout.trailer = {111, 22, 133, 155, true, 3};

  VolumeResult r = WriteVolumes(layout, *reader, VolumePathFn(), progress, highest);
  ASSERT_EQ(r.outcome, VolumeOutcome::Complete);
  EXPECT_EQ(r.volumeCount, 3);
  EXPECT_EQ(r.totalSize, 3000000u);
  EXPECT_EQ(highest, 2);
  std::string v0 = ReadFile(Volume(0)), v1 = ReadFile(Volume(1)), v2 = ReadFile(Volume(2));
  EXPECT_EQ(v0.size(), 1457664u);
  EXPECT_EQ(v1.size(), 1457664u);
  EXPECT_EQ(v2.size(), 84672u);
  SetupTrailer t = TrailerOf(v0);
  EXPECT_EQ(t.scriptStart, 111u);
  EXPECT_EQ(t.payloadStart, 155u);
  EXPECT_EQ(t.sideFileCount, 3);
  // The payload continues byte for byte across the boundaries, without the signatures.
  std::string joined = v0.substr(fixed.size(), v0.size() - fixed.size() - 36) + v1 + v2;
  EXPECT_EQ(joined, a + b);
  EXPECT_EQ(v0.substr(0, fixed.size()), fixed);
  // Cabinets are deleted once copied.
  EXPECT_FALSE(std::filesystem::exists(cabinets[0]));
  EXPECT_FALSE(std::filesystem::exists(cabinets[1]));
  EXPECT_FALSE(std::filesystem::exists(Volume(3)));
}

TEST_F(VolumeFixture, SingleFileEndsInTrailerAndStoredRecordsFollowData) {
  WriteFile(Volume(0), "STUB");
  WriteFile(dir / "a.bin", "hello");
  WriteFile(dir / "empty.bin", "");
  auto reader = MakeStoredPayloadReader({dir / "a.bin", dir / "empty.bin"});
  VolumeLayout layout;
  layout.fixedSize = 4;
  layout.payloadSize = 24 + 5 + 24 + 0;
  layout.showWrittenSize = true;
  VolumeResult r = WriteVolumes(layout, *reader, VolumePathFn(), progress, highest);
  ASSERT_EQ(r.outcome, VolumeOutcome::Complete);
  EXPECT_EQ(r.volumeCount, 1);
  std::string v0 = ReadFile(Volume(0));
  ASSERT_EQ(v0.size(), 4u + 53 + 36);
  const std::string payload = v0.substr(4, 53);
  auto u32 = [&](size_t o) { return uint32_t(uint8_t(payload[o])) | uint32_t(uint8_t(payload[o + 1])) << 8 | uint32_t(uint8_t(payload[o + 2])) << 16 | uint32_t(uint8_t(payload[o + 3])) << 24; };
  EXPECT_EQ(u32(0), 0u);
  EXPECT_EQ(u32(4), 5u);
  EXPECT_EQ(payload.substr(24, 5), "hello");
  EXPECT_EQ(u32(29), 1u);   // second record: file number 1
  EXPECT_EQ(u32(33), 0u);   // size 0
  // Time (100 ns units since 1601) of a file written just now lies after 2020.
  uint64_t time = u32(12) | uint64_t(u32(16)) << 32;
  EXPECT_GT(time, 132223104000000000ULL);
  EXPECT_NE(u32(20) & 0x20, 0u);  // archive attribute
  EXPECT_FALSE(reporter.sizeText.empty());
  // Source files of the stored form stay.
  EXPECT_EQ(ReadFile(dir / "a.bin"), "hello");
}

// Given sizes cut anywhere: inside a stored header, inside the data; and a fixed part larger
// than a volume leaves the first volume without payload.
TEST_F(VolumeFixture, SmallVolumesCutInsideRecords) {
  struct Case { uint64_t fixed; uint64_t volumeSize; };
  for (Case c : {Case{10, 50}, Case{100, 40}, Case{13, 10240}, Case{30, 66}}) {
    SCOPED_TRACE(std::to_string(c.fixed) + "/" + std::to_string(c.volumeSize));
    for (int n = 0; n < 100; ++n) std::filesystem::remove(Volume(n));
    WriteFile(Volume(0), PatternBytes(c.fixed, 3));
    WriteFile(dir / "x.bin", PatternBytes(70, 4));
    WriteFile(dir / "y.bin", PatternBytes(5, 5));
    auto reader = MakeStoredPayloadReader({dir / "x.bin", dir / "y.bin"});
    VolumeLayout layout;
    layout.fixedSize = c.fixed;
    layout.payloadSize = 24 + 70 + 24 + 5;
    layout.volumeSize = c.volumeSize;
    VolumeResult r = WriteVolumes(layout, *reader, VolumePathFn(), progress, highest);
    ASSERT_EQ(r.outcome, VolumeOutcome::Complete);
    std::string v0 = ReadFile(Volume(0));
    uint64_t firstPayload = c.fixed + 36 >= c.volumeSize ? 0 : c.volumeSize - 36 - c.fixed;
    firstPayload = std::min<uint64_t>(firstPayload, layout.payloadSize);
    EXPECT_EQ(v0.size(), c.fixed + firstPayload + 36);
    std::string payload = v0.substr(c.fixed, firstPayload);
    for (int n = 1; n < r.volumeCount; ++n) {
      std::string v = ReadFile(Volume(n));
      if (n + 1 < r.volumeCount) {
        EXPECT_EQ(v.size(), c.volumeSize);
      }
      payload += v;
    }
    ASSERT_EQ(payload.size(), layout.payloadSize);
    EXPECT_EQ(payload.substr(24, 70), PatternBytes(70, 4));
    EXPECT_EQ(payload.substr(24 + 70 + 24, 5), PatternBytes(5, 5));
    EXPECT_EQ(r.totalSize, c.fixed + layout.payloadSize + 36);
  }
}

TEST_F(VolumeFixture, PayloadLongerOrShorterThanCountedIsInconsistent) {
  for (int64_t delta : {-3, 3}) {
    SCOPED_TRACE(delta);
    WriteFile(Volume(0), "STUB");
    WriteFile(dir / "a.bin", PatternBytes(100));
    auto reader = MakeStoredPayloadReader({dir / "a.bin"});
    VolumeLayout layout;
    layout.fixedSize = 4;
    layout.payloadSize = 24 + 100 + delta;  // the file changed after it was measured
    VolumeResult r = WriteVolumes(layout, *reader, VolumePathFn(), progress, highest);
    EXPECT_EQ(r.outcome, VolumeOutcome::Inconsistent);
  }
}

TEST_F(VolumeFixture, CancelIsNoticedAtTheEndOfAVolume) {
  WriteFile(Volume(0), "STUB");
  auto cabinets = MakeCabinets({PatternBytes(5000)});
  auto reader = MakeCabinetPayloadReader(cabinets);
  VolumeLayout layout;
  layout.fixedSize = 4;
  layout.payloadSize = 5000;
  layout.volumeSize = 1000;
  reporter.onLine = nullptr;
  RequestBuildCancel();
  VolumeResult r = WriteVolumes(layout, *reader, VolumePathFn(), progress, highest);
  EXPECT_EQ(r.outcome, VolumeOutcome::Cancelled);
  EXPECT_EQ(ReadFile(Volume(0)), "STUB");  // no trailer: the caller deletes it
}

}  // namespace
}  // namespace bvq
