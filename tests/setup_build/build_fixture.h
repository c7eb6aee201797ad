#pragma once
// A program folder for build tests: the real stubs, the wizard pictures of the Data folder,
// an install language file and icons, plus an interface string table with the words the
// project's cells hold; and the test project "Tool" that the build and reader tests build.
#include <filesystem>
#include <string>
#include <vector>

#include "pe_support.h"
#include "project/interface_strings.h"
#include "project/project.h"
#include "project/project_session.h"
#include "setup_build/build_cancel.h"
#include "setup_build/run_build.h"
#include "test_support.h"
#include "util/code_page.h"
#include "util/program_values.h"

namespace bvq::test {

// Interface strings used by the tests (cells compare with them).
inline InterfaceStringTable TestInterfaceStrings() {
  InterfaceStringTable t;
  for (int i = 0; i < kInterfaceStringCount; ++i) t[i] = "S" + std::to_string(i);
  t[26] = "<folder>";
  t[47] = "Application"; t[48] = "Shell";
  t[52] = "Desktop"; t[53] = "Program group"; t[54] = "Start menu"; t[55] = "Quick launch"; t[56] = "Other";
  t[62] = "Yes"; t[63] = "No";
  t[93] = "Before"; t[94] = "After"; t[109] = "Before removal"; t[110] = "After removal";
  t[143] = "File"; t[144] = "Folder"; t[145] = "Folder with files";
  t[234] = "Ask"; t[235] = "Ask if newer"; t[236] = "Replace"; t[237] = "Replace if newer"; t[238] = "Skip";
  return t;
}

// A small valid .ico (one 16x16 32-bit image) in memory.
inline std::string TinyIcon(uint8_t shade) {
  std::string bmp;
  auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) bmp.push_back(char(v >> (8 * i))); };
  auto put16 = [&](uint16_t v) { bmp.push_back(char(v)); bmp.push_back(char(v >> 8)); };
  put32(40); put32(16); put32(32); put16(1); put16(32); put32(0); put32(16 * 16 * 4 + 64); put32(0); put32(0); put32(0); put32(0);
  for (int i = 0; i < 16 * 16; ++i) { bmp.push_back(char(shade)); bmp.push_back(char(255 - shade)); bmp.push_back(char(i)); bmp.push_back(char(255)); }
  bmp += std::string(64, '\0');  // AND mask
  std::string ico;
  auto iput16 = [&](uint16_t v) { ico.push_back(char(v)); ico.push_back(char(v >> 8)); };
  auto iput32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) ico.push_back(char(v >> (8 * i))); };
  iput16(0); iput16(1); iput16(1);
  ico.push_back(16); ico.push_back(16); ico.push_back(0); ico.push_back(0);
  iput16(1); iput16(32); iput32(static_cast<uint32_t>(bmp.size())); iput32(22);
  return ico + bmp;
}

// Sets up ProgramFolder, WorkFolder and the interface strings for the lifetime of the object.
class ProgramFolderFixture {
 public:
  ProgramFolderFixture() {
    const std::string program = root.Path() + "program/";
    std::filesystem::create_directories(program + "Data");
    std::filesystem::copy_file(StubPath("Install.exe"), program + "Data/Install.exe");
    std::filesystem::copy_file(StubPath("Uninstall.exe"), program + "Data/Uninstall.exe");
    WriteFile(program + "Data/Folder.png", "\x89PNG folder picture");
    WriteFile(program + "Data/Group.png", "\x89PNG group picture");
    WriteFile(program + "Data/Password.png", "\x89PNG password picture");
    WriteFile(program + "Language/Install/English.lng",
              "[Language]\r\nName=English\r\nId=1033\r\n[Strings]\r\n1=Welcome to #appname##32setup\r\n"
              "2=Needs #setupsize# and .NET #netversion#\r\n99=Last%ProductName%\r\n");
    WriteFile(program + "Language/Install/German.lng",
              "[Language]\r\nName=Deutsch\r\nId=1031\r\n[Strings]\r\n1=Willkommen\r\n");
    WriteFile(program + "Icons/setup.ico", TinyIcon(10));
    WriteFile(program + "Icons/uninstall.ico", TinyIcon(200));
    SetProgramFolder(program);
    std::filesystem::create_directories(root.Path() + "work");
    SetWorkFolder(root.Path() + "work/");
    SetInterfaceStrings(TestInterfaceStrings());
    SetAnsiCodePage(1252);
  }
  std::string Program() const { return root.Path() + "program/"; }
  std::string Work() const { return root.Path() + "work/"; }

  // The test product "Tool" 2.5 by "Acme", saved in `folder` (its relative paths resolve there),
  // built to out/Setup.exe with volumes disk2.pak ... and the fixture's icons.
  void NameToolProject(Project& p, const std::string& folder) const {
    p.filePath = folder + "Tool.bvq";
    p.productName = "Tool";
    p.productVersion = "2.5";
    p.companyName = "Acme";
    p.setupFile = "out/Setup.exe";
    p.volumeFileName = "disk%i%.pak";
    p.installerIcon = Program() + "Icons/setup.ico";
    p.uninstallerIcon = Program() + "Icons/uninstall.ico";
  }

  TempFolder root;
};

// Tests that build the project "Tool" (ProgramFolderFixture::NameToolProject) from sources in
// a temporary project folder, with the build's cancel request cleared before and after.
struct ToolSetupTest : ::testing::Test {
  // The bytes of the project's three sources and its licence.
  struct Sources {
    std::string app, readme, licence;
  };

  void SetUp() override { ResetBuildCancel(); }
  void TearDown() override { ResetBuildCancel(); }

  // Writes src/app.exe, src/readme.txt, an empty src/data/empty.dat and licence.txt, and sets
  // the project up with the install folder page, licence.txt as the licence of every language,
  // an uninstaller %InstallPath%\Uninstall.exe, English as the only language and no header
  // picture or logo. The file list is the test's own.
  void MakeToolProject(const Sources& sources) {
    const std::string d = projectDir.Path();
    WriteFile(d + "src/app.exe", sources.app);
    WriteFile(d + "src/readme.txt", sources.readme);
    WriteFile(d + "src/data/empty.dat", "");
    WriteFile(d + "licence.txt", sources.licence);
    program.NameToolProject(p, d);
    p.uninstallerFile = "%InstallPath%\\Uninstall.exe";
    p.showHeaderPicture = p.showLogo = false;
    p.showInstallFolderPage = true;  // install folder page: Data/Folder.png
    p.showLicense = true;
    p.makeUninstaller = true;
    p.SetInstallLanguages({"English"});
    p.SetLanguageChecked(0, true);
    p.licenseFiles = {"licence.txt", ""};
  }

  // A file of the project's output folder.
  std::string Out(const std::string& name) const { return projectDir.Path() + "out/" + name; }
  // All volumes of a build, volume 0 (Setup.exe) first.
  std::vector<std::string> Volumes(const BuildResult& result) const {
    std::vector<std::string> volumes{Out("Setup.exe")};
    for (int n = 2; n <= result.volumeCount; ++n) volumes.push_back(Out("disk" + std::to_string(n) + ".pak"));
    return volumes;
  }

  ProgramFolderFixture program;
  TempFolder projectDir;
  RecordingReporter reporter;
  Project p;
  ProjectSession session{p};
};

}  // namespace bvq::test
