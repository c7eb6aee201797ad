// The version patch on the real installer stub, read back with pefile.
#include <filesystem>

#include "setup_build/binary_file.h"
#include "setup_build/version_info.h"
#include "pe_support.h"
#include "test_support.h"
#include "util/code_page.h"

namespace bvq {
namespace {

TEST(PatchVersionInfo, StubShowsProductTexts) {
  test::TempFolder dir;
  const std::string exe = dir / "Setup.exe";
  std::filesystem::copy_file(test::StubPath("Install.exe"), exe);
  const auto sizeBefore = std::filesystem::file_size(exe);
  VersionWords words;
  ASSERT_TRUE(ParseVersionNumbers("2.5", words));
  VersionTexts texts{"Acme", "Tool 2.5 Installation", "2.5", "Acme \xA9 2024"};
  SetAnsiCodePage(1252);
  ASSERT_TRUE(PatchVersionInfo(exe, words, texts));
  EXPECT_EQ(std::filesystem::file_size(exe), sizeBefore);

  auto facts = test::PeFacts(exe);
  ASSERT_EQ(facts.count("error"), 0u) << facts["error"];
  EXPECT_EQ(facts["FileVersionMS"], std::to_string(0x00020005));
  EXPECT_EQ(facts["FileVersionLS"], "0");
  // The rest of a placeholder is blanks.
  auto trimmed = [](std::string s) { return s.erase(s.find_last_not_of(' ') + 1); };
  EXPECT_EQ(trimmed(facts["CompanyName"]), "Acme");
  EXPECT_EQ(trimmed(facts["FileDescription"]), "Tool 2.5 Installation");
  EXPECT_EQ(trimmed(facts["FileVersion"]), "2.5");
  EXPECT_EQ(trimmed(facts["LegalCopyright"]), "Acme \xC2\xA9 2024");  // converted from 1252
  EXPECT_EQ(facts["OriginalFilename"], "Install.exe");
}

TEST(PatchVersionInfo, LongTextIsCutToThePlaceholder) {
  test::TempFolder dir;
  const std::string exe = dir / "Setup.exe";
  std::filesystem::copy_file(test::StubPath("Install.exe"), exe);
  VersionTexts texts{std::string(400, 'C'), "d", "v", "l"};
  ASSERT_TRUE(PatchVersionInfo(exe, {}, texts));
  auto facts = test::PeFacts(exe);
  ASSERT_EQ(facts.count("error"), 0u) << facts["error"];
  const std::string company = facts["CompanyName"];
  EXPECT_GE(company.size(), 128u);
  EXPECT_LT(company.size(), 400u);
  EXPECT_EQ(company.find_first_not_of('C'), std::string::npos);
  EXPECT_EQ(facts["OriginalFilename"], "Install.exe");  // the neighbour value is intact
}

TEST(PatchVersionInfo, FileWithoutVersionResourceIsLeftAlone) {
  test::TempFolder dir;
  test::WriteFile(dir / "x.exe", "MZ not a PE file at all, only some bytes to look at......................");
  const std::string before = test::ReadFile(dir / "x.exe");
  EXPECT_FALSE(PatchVersionInfo(dir / "x.exe", {}, {}));
  EXPECT_EQ(test::ReadFile(dir / "x.exe"), before);
  EXPECT_THROW(PatchVersionInfo(dir / "missing.exe", {}, {}), FileError);
}

}  // namespace
}  // namespace bvq
