// The installer script: the fields of section A for a table of settings, the sections of the
// entry lists, and the transforms of its values.
#include "setup_build/installer_script.h"

#include "build_fixture.h"
#include "util/strings.h"

namespace bvq {
namespace {

struct ScriptFixture : ::testing::Test {
  test::ProgramFolderFixture program;
  Project p;
  PayloadList files;

  void SetUp() override {
    p.productName = "Tool";
    p.productVersion = "2.5";
    p.companyName = "Acme";
    p.makeUninstaller = false;
    p.SetInstallLanguages({"English", "German (Deutsch)"});
    p.SetLanguageChecked(0, true);
    for (auto& item : p.supportedSystems) item.Checked = true;
    p.files.AppendCells({program.Program() + "Icons/setup.ico", "%InstallPath%\\a.ico", "Replace", "Yes"});
    files.files.push_back({program.Program() + "Icons/setup.ico", "%InstallPath%\\a.ico", 2, true});
    files.totalSourceSize = 1000;
  }
  std::vector<std::string> Values(ScriptPayload payload = {}) {
    payload.files = &files;
    return InstallerScriptValues(p, payload, BuildLanguages(p));
  }
};

TEST_F(ScriptFixture, OneFileOneLanguageGives227Values) {
  auto v = Values();
  ASSERT_EQ(v.size(), 227u);
  EXPECT_EQ(v[0], "Belvandorithquessal v. " + ProgramVersion());
  EXPECT_EQ(v[67], "1");
  // Section G right after section A, then N and O.
  EXPECT_EQ(v[121], "@$&%04\\a.ico");
  EXPECT_EQ(v[122], "2");
  EXPECT_EQ(v[123], "1");
  EXPECT_EQ(v[124], "English");
  EXPECT_EQ(v[125], "1033");
  EXPECT_EQ(v[126], "");
  EXPECT_EQ(v[127], "");
  EXPECT_EQ(v[128], "Welcome to Tool setup");
  EXPECT_EQ(v[128 + 98], "LastTool");
  // The encoding: every value followed by one zero byte.
  std::string script = EncodeInstallerScript(v);
  EXPECT_EQ(std::count(script.begin(), script.end(), '\0'), 227);
  EXPECT_EQ(script.back(), '\0');
}

TEST_F(ScriptFixture, SectionAFieldsForSettings) {
  struct Case {
    const char* what;
    std::function<void(Project&)> set;
    int field;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"background shown", [](Project& q) { q.showBackground = true; }, 1, "1"},
      {"background but silent", [](Project& q) { q.showBackground = true; q.silentInstall = true; }, 1, "0"},
      {".NET page off", [](Project& q) { q.dotNetPageAddress = "http://x"; }, 2, "0"},
      {".NET page on", [](Project& q) { q.openDotNetPage = true; q.dotNetPageAddress = "http://x"; }, 2, "http://x"},
      {"gradient colour", [](Project& q) { q.backgroundGradientStart = 0xFF8080; }, 4, "16744576"},
      {"title font height 28pt", [](Project& q) { q.backgroundTitleFont.Size = 28; }, 10, "-37"},
      {"company font height 8pt", [](Project& q) { q.backgroundCompanyFont.Size = 8; }, 18, "-11"},
      {"title font style low byte", [](Project& q) { q.backgroundTitleFont.Style = 0x102; }, 14, "2"},
      {"volume pattern", [](Project& q) { q.volumeFileName = "disk%i%.pak"; }, 21, "disk@$&%19.pak"},
      {"desktop shortcut", [](Project& q) { q.shortcuts.AppendCells({"Desktop", "x"}); }, 22, "1"},
      {"start menu shortcut only", [](Project& q) { q.shortcuts.AppendCells({"Start menu", "x"}); }, 22, "0"},
      {"total source size", [](Project&) {}, 23, "1000"},
      {"uninstaller commands without uninstaller", [](Project& q) { q.uninstallCommands.AppendCells({"Application", "c"}); }, 25, "0"},
      {"uninstaller commands counted", [](Project& q) { q.makeUninstaller = true; q.uninstallCommands.AppendCells({"Application", "c"}); }, 25, "1"},
      {"bottom text gets a blank", [](Project& q) { q.installerBottomText = "(c) %CompanyName%"; }, 27, "(c) Acme "},
      {"password off", [](Project& q) { q.password = "abc"; }, 29, ""},
      {"password scrambled", [](Project& q) { q.askPassword = true; q.password = "abc"; }, 29, "2X<"},
      {"single file", [](Project& q) { q.splitting = 0; }, 34, "1"},
      {"split", [](Project& q) { q.splitting = 1; }, 34, "0"},
      {"uninstaller deletions without uninstaller", [](Project& q) { q.uninstallDeletions.AppendCells({"File", "x"}); }, 45, "0"},
      {"required space, no entries", [](Project&) {}, 48, "1"},
      {"required space with uninstaller", [](Project& q) { q.makeUninstaller = true; }, 48, "171"},
      {"header shown", [](Project& q) { q.showHeaderPicture = true; }, 49, "1"},
      {"uninstaller flag", [](Project& q) { q.makeUninstaller = true; }, 56, "1"},
      {"install path trailing backslash", [](Project& q) { q.installFolderPath = "%ProgramFiles%\\%ProductName%\\"; }, 58, "@$&%01\\Tool"},
      {"password hidden", [](Project& q) { q.showPasswordTyped = false; }, 59, "64"},
      {"password upper case shown", [](Project& q) { q.showPasswordTyped = true; q.passwordUpperCase = true; }, 59, "256"},
      {"password hidden upper", [](Project& q) { q.showPasswordTyped = false; q.passwordUpperCase = true; }, 59, "320"},
      {"all systems", [](Project&) {}, 61, "0"},
      {"only XP", [](Project& q) { for (auto& s : q.supportedSystems) s.Checked = s.Caption == "Windows XP"; }, 61, "958"},
      {"only 7", [](Project& q) { for (auto& s : q.supportedSystems) s.Checked = s.Caption == "Windows 7"; }, 61, "510"},
      {"systems text", [](Project& q) { for (auto& s : q.supportedSystems) s.Checked = s.Caption == "Windows 2000" || s.Caption == "Windows XP" || s.Caption == "Windows Vista"; }, 62, "Windows 2000/XP/Vista."},
      {"no systems", [](Project& q) { for (auto& s : q.supportedSystems) s.Checked = false; }, 62, "Windows."},
      {"logo silent", [](Project& q) { q.showLogo = true; q.silentInstall = true; }, 63, "0"},
      {"header title x", [](Project& q) { q.headerTitlePosition = {171, 8}; }, 69, "171"},
      {"header title y", [](Project& q) { q.headerTitlePosition = {171, 8}; }, 72, "8"},
      {"header picture y", [](Project& q) { q.headerPicturePosition = {20, 6}; }, 80, "5"},
      {"header picture x", [](Project& q) { q.headerPicturePosition = {20, 6}; }, 81, "20"},
      {"logo y", [](Project& q) { q.logoPicturePosition = {1, 1}; }, 82, "0"},
      {"logo x", [](Project& q) { q.logoPicturePosition = {1, 1}; }, 83, "0"},
      {".NET 4.0 or later", [](Project& q) { q.requireDotNet = true; q.dotNetVersion = 11; }, 85, "1"},
      {".NET exact", [](Project& q) { q.requireDotNet = true; q.dotNetVersion = 2; }, 85, "0"},
      {"major of 2.10 beta 3", [](Project& q) { q.productVersion = "2.10 beta 3"; }, 87, "2"},
      {"minor of 2.10 beta 3", [](Project& q) { q.productVersion = "2.10 beta 3"; }, 119, "103"},
      {"major of 1..5", [](Project& q) { q.productVersion = "1..5"; }, 87, "1"},
      {"minor of 1..5", [](Project& q) { q.productVersion = "1..5"; }, 119, "5"},
      {"major of .7", [](Project& q) { q.productVersion = ".7"; }, 87, "7"},
      {"minor of .7", [](Project& q) { q.productVersion = ".7"; }, 119, "0"},
      {"empty version", [](Project& q) { q.productVersion = ""; }, 87, "0"},
      {"folder-only entries", [](Project& q) { q.files.AppendCells({"<folder>", "%InstallPath%\\data", "", "Yes"}); }, 93, "1"},
      {"full cabinet payload", [](Project&) {}, 95, "8388608"},
      {".NET version text", [](Project& q) { q.requireDotNet = true; q.dotNetVersion = 7; }, 100, "1.1"},
      {".NET version unchecked", [](Project& q) { q.dotNetVersion = 7; }, 100, "0"},
      {".NET no item selected", [](Project& q) { q.requireDotNet = true; q.dotNetVersion = -1; }, 100, "0"},
      {"header is png", [](Project& q) { q.showHeaderPicture = true; q.headerPicture = "x\\Head.PNG"; }, 101, "1"},
      {"header png hidden", [](Project& q) { q.showHeaderPicture = false; q.headerPicture = "x.png"; }, 101, "0"},
      {"logo is bmp", [](Project& q) { q.showLogo = true; q.logoPicture = "x.bmp"; }, 102, "0"},
      {"silent", [](Project& q) { q.silentInstall = true; }, 110, "1"},
      {"stored: no cabinet index", [](Project&) {}, 117, "0"},
      {"reserved", [](Project&) {}, 120, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Project saved = p;
    c.set(p);
    auto v = Values();
    ASSERT_GT(v.size(), static_cast<size_t>(c.field));
    EXPECT_EQ(v[c.field], c.expected);
    p = saved;
  }
}

TEST_F(ScriptFixture, CabinetFieldsOfTheLastCabinet) {
  ScriptPayload payload;
  payload.useCabinets = true;
  payload.cabinetCount = 3;
  payload.lastCabinetSize = 5004;
  auto v = Values(payload);
  EXPECT_EQ(v[117], "2");
  EXPECT_EQ(v[118], "5000");
}

TEST_F(ScriptFixture, EntrySections) {
  p.makeUninstaller = true;
  p.registryVariables.AppendCells({"%Data%", "HKEY_LOCAL_MACHINE", "Software\\X", "Path", "C:\\"});
  p.registryValues.AppendCells({"HKEY_CURRENT_USER", "Software\\%Data%", "Bin", "REG_BINARY", "01 02,03", "Yes", "No"});
  p.registryValues.AppendCells({"HKEY_BOGUS", "k", "Str", "REG_SZ", "01 02,03", "No", "Yes"});
  p.uninstallRegistryDeletions.AppendCells({"HKEY_USERS", "k", "v"});
  // Imported .reg files keep the root as the file spells it.
  p.uninstallRegistryDeletions.AppendCells({"hkey_local_machine", "low", ""});
  p.fonts.AppendCells({"My Font", "%FontDir%\\my.ttf"});
  p.shortcuts.AppendCells({"Program group", "Readme.LNK", "%InstallPath%\\readme.txt", "", "%InstallPath%", "Read me", ""});
  p.shortcuts.AppendCells({"Desktop", "Tool", "%InstallPath%\\tool.exe", "-x", "", "", "%InstallPath%\\tool.exe,2"});
  p.shortcuts.AppendCells({"Start menu", "Odd", "t", "", "", "", "justanumber"});
  p.installCommands.AppendCells({"Shell", "cmd", "/c", "Hide", "After", "Yes"});
  p.uninstallCommands.AppendCells({"Application", "u.exe", "", "Maximize", "After removal", "No"});
  p.iniEntries.AppendCells({"%WindowsDir%\\a.ini", "S", "K", "V", "Yes", "No"});
  p.uninstallDeletions.AppendCells({"Folder with files", "%InstallPath%\\logs"});
  p.activeXFiles.AppendCells({"%SystemDir%\\x.ocx", "Yes"});
  p.files.AppendCells({"<folder>", "%InstallPath%\\empty", "", "No"});
  auto v = Values();
  const std::vector<std::string> expected = {
      // B
      "2", "Software\\X", "Path", "C:\\",
      // C
      "1", "Software\\@$&%81", "Bin", "010203", "1", "1", "0",
      "", "k", "Str", "01 02,03", "0", "0", "1",
      // D
      "3", "k", "v",
      "2", "low", "",
      // E
      "My Font", "@$&%15\\my.ttf",
      // F
      "2", "Readme.LNK", "@$&%04\\readme.txt", "", "Read me", "", "", "@$&%04",
      "1", "Tool.lnk", "@$&%04\\tool.exe", "-x", "", "@$&%04\\tool.exe", "2", "",
      "0", "Odd.lnk", "t", "", "", "", "justanumber", "",
      // G
      "@$&%04\\a.ico", "2", "1",
      // H
      "@$&%04\\empty", "0",
      // I
      "1", "cmd", "/c", "0", "1", "1",
      // J
      "0", "u.exe", "", "3", "1", "0",
      // K
      "@$&%02\\a.ini", "S", "K", "V", "1", "0",
      // L
      "2", "@$&%04\\logs",
      // M
      "@$&%03\\x.ocx", "1",
  };
  ASSERT_GE(v.size(), 121 + expected.size());
  std::vector<std::string> sections(v.begin() + 121, v.begin() + 121 + static_cast<long>(expected.size()));
  EXPECT_EQ(sections, expected);
  EXPECT_EQ(v[98], "1");  // B
  EXPECT_EQ(v[50], "2");  // C
  EXPECT_EQ(v[54], "3");  // F
  EXPECT_EQ(v[86], "1");
  EXPECT_EQ(v[88], "1");
  EXPECT_EQ(v[89], "1");
  EXPECT_EQ(v[90], "0");
  // 3 shortcuts + 2 registry + 1 folder-only + 1 command + 1 INI + 1 ActiveX + 17 = 26 entries.
  EXPECT_EQ(v[48], std::to_string((26 * 10240 + 1000 + 512) / 1024));
  EXPECT_EQ(v.size(), 121 + expected.size() + 4 + 99);
}

TEST_F(ScriptFixture, LanguageGroupsCarryTheirSideFileNumbers) {
  p.SetLanguageChecked(1, true);  // English and German
  p.showLicense = true;
  p.showInformation = true;
  test::WriteFile(program.Work() + "de.txt", "Lizenz");
  ASSERT_EQ(p.licenseFiles.size(), 3u);
  p.licenseFiles[2] = program.Work() + "de.txt";  // only the second language
  p.infoFiles[1] = program.Work() + "de.txt";
  p.infoFiles[2] = program.Work() + "missing.txt";
  p.requireDotNet = true;
  p.dotNetVersion = 8;
  auto v = Values();
  ASSERT_EQ(v.size(), 121u + 3 + 8 + 2 * 99);
  EXPECT_EQ(v[26], "2");
  std::vector<std::string> n(v.begin() + 124, v.begin() + 132);
  EXPECT_EQ(n, (std::vector<std::string>{"English", "1033", "", "50", "German (Deutsch)", "1031", "20", ""}));
  // Section O: the texts of English, then German (absent keys give empty texts).
  EXPECT_EQ(v[133], "Needs " + SizeText(1000) + " and .NET 2.0+");
  EXPECT_EQ(v[132 + 99], "Willkommen");
  EXPECT_EQ(v[132 + 99 + 1], "");
}

TEST(ScriptTransforms, ScrambledPassword) {
  EXPECT_EQ(ScrambledPassword("abc"), "2X<");
  EXPECT_EQ(ScrambledPassword(""), "");
  std::string long_(300, '\xFF');
  std::string s = ScrambledPassword(long_);
  ASSERT_EQ(s.size(), 300u);
  for (char c : s) EXPECT_TRUE(c >= '0' && c <= 'Z');
}

TEST(ScriptTransforms, ExpandMessageText) {
  Project p;
  p.productName = "Tool";
  EXPECT_EQ(ExpandMessageText(p, "#appname##32needs#10#netversion##13", "4.0+", 0), "Tool needs\n4.0+\r");
  EXPECT_EQ(ExpandMessageText(p, "#setupsize#", "", 1536), SizeText(1536));
  EXPECT_EQ(ExpandMessageText(p, "#3#32", "", 0), "#3 ");
}

}  // namespace
}  // namespace bvq
