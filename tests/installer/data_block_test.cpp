// The side files of a built setup's stored data block, unpacked into a folder: each one is
// what an independent reading of the block finds; a damaged record is refused, and a name
// that would leave the folder is passed over.
extern "C" {
#include "stub/data_block.h"
}
#include "installer_support.h"

namespace bvq::test {
namespace {
namespace fs = std::filesystem;

// The name a side file gets in the folder: its record's name after "$inst\".
std::string FolderName(const std::string& record) { return record.substr(std::string(SIDE_FILE_PREFIX).size()); }

class DataBlockTest : public BuiltSetupTest {
 protected:
  void SetUp() override {
    BuiltSetupTest::SetUp();
    if (IsSkipped()) return;
    p.silentInstall = false;  // with a wizard: its pictures travel as side files
    p.showHeaderPicture = p.showLogo = false;
    p.showInstallFolderPage = true;  // Data/Folder.png
    p.showLicense = true;
    WriteFile(projectDir.Path() + "licence.txt", "You may use it.\r\n");
    p.licenseFiles = {"licence.txt", ""};
    auto volumes = Build(false, 0);
    ASSERT_EQ(volumes.size(), 1u);
    setup = volumes[0];
    expected = StoredSideFiles(ReadSetupFiles(setup).dataBlock);
    ASSERT_GE(expected.size(), 2u);
  }

  // Unpacks the data block of `file` into a new folder: the error, the count and the folder.
  struct Unpacked {
    std::wstring error;
    int count = -1;
    std::vector<std::string> names;
  };
  Unpacked Unpack(const std::string& file) {
    Unpacked u;
    OpenSetup s(file);
    EXPECT_EQ(s.error, L"");
    const std::string folder = projectDir.Path() + "side" + std::to_string(++unpacks) + "/";
    fs::create_directories(folder);
    u.error = Take(data_block_extract_stored(&s.setup, Wide(folder).c_str(), &u.count));
    for (const auto& e : fs::directory_iterator(folder)) u.names.push_back(e.path().filename().string());
    std::sort(u.names.begin(), u.names.end());
    for (const auto& [name, bytes] : expected)
      if (fs::exists(folder + FolderName(name))) {
        EXPECT_EQ(ReadFile(folder + FolderName(name)), bytes) << name;
      }
    return u;
  }
  std::vector<std::string> ExpectedNames() const {
    std::vector<std::string> names;
    for (const auto& e : expected) names.push_back(FolderName(e.first));
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string setup;
  std::vector<std::pair<std::string, std::string>> expected;
  int unpacks = 0;
};

TEST_F(DataBlockTest, SideFilesUnpackAsTheBlockHoldsThem) {
  for (const auto& e : expected) EXPECT_TRUE(e.first.starts_with(SIDE_FILE_PREFIX)) << e.first;
  Unpacked u = Unpack(setup);
  EXPECT_EQ(u.error, L"");
  EXPECT_EQ(u.count, static_cast<int>(expected.size()));
  OpenSetup s(setup);
  EXPECT_EQ(u.count, s.setup.trailer.side_files);
  EXPECT_EQ(u.names, ExpectedNames());
}

TEST_F(DataBlockTest, DamagedRecordsAndForeignNames) {
  const std::string good = ReadFile(setup);
  OpenSetup s(setup);
  const size_t block = s.setup.trailer.script_end;
  const std::string& first = expected[0].first;
  const size_t firstSize = block + first.size() + 1, firstNumber = block + std::string(SIDE_FILE_PREFIX).size();

  std::string bytes = good;
  bytes[firstSize] = 'x';
  WriteFile(projectDir.Path() + "size.exe", bytes);
  Unpacked u = Unpack(projectDir.Path() + "size.exe");
  EXPECT_TRUE(u.error.starts_with(L"The setup file is damaged")) << u.error;

  for (char c : {'/', '\\', ':'}) {
    bytes = good;
    bytes[firstNumber] = c;  // "$inst\/5.tmp": would leave the folder
    WriteFile(projectDir.Path() + "name.exe", bytes);
    u = Unpack(projectDir.Path() + "name.exe");
    EXPECT_EQ(u.error, L"");
    EXPECT_EQ(u.count, static_cast<int>(expected.size()) - 1);
    std::vector<std::string> names = ExpectedNames();
    names.erase(std::find(names.begin(), names.end(), FolderName(first)));
    EXPECT_EQ(u.names, names);
  }
  EXPECT_FALSE(fs::exists(projectDir.Path() + "5.tmp"));
}

}  // namespace
}  // namespace bvq::test
