#pragma once
// The installer's platform-neutral C as the tests see it: its headers, its wide texts as
// std::wstring, and setups that the program builds from a small project.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "setup_build/build_fixture.h"
#include "setup_build/run_build.h"
#include "setup_build/setup_reader.h"

extern "C" {
#include "stub/install_texts.h"
#include "stub/journal.h"
#include "stub/options.h"
#include "stub/setup_file.h"
#include "stub/text.h"
#include "stub/undo.h"
#include "stub/variables.h"
}

namespace bvq::test {

// The text of a string the installer allocated, which is freed.
inline std::wstring Take(wchar_t* text) {
  std::wstring s = text ? text : L"";
  xfree(text);
  return s;
}

inline std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The values of a script, split at their terminators, and put together again.
inline std::vector<std::string> ScriptValues(const std::string& bytes) {
  std::vector<std::string> values;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\0') {
      values.push_back(bytes.substr(start, i - start));
      start = i + 1;
    }
  return values;
}
inline std::string ScriptBytes(const std::vector<std::string>& values) {
  std::string bytes;
  for (const auto& v : values) bytes += v + '\0';
  return bytes;
}

// A project of three files (one large enough to span small volumes) and a user variable,
// built by the program into out/Setup.exe (and out/diskN.pak).
class BuiltSetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(StubPath("Install.exe")))
      GTEST_SKIP() << "the cross-built installer (Data/Install.exe) is not there to build setups with";
    program = std::make_unique<ProgramFolderFixture>();
    const std::string d = projectDir.Path();
    sources = {{"src/app.bin", NoiseBytes(150000)}, {"src/readme.txt", "Read me first.\r\n"}, {"src/empty.dat", ""}};
    for (const auto& [path, bytes] : sources) WriteFile(d + path, bytes);
    program->NameToolProject(p, d);
    p.installFolderPath = "%ProgramFiles%\\%CompanyName%\\%ProductName%";
    p.silentInstall = true;  // silent: no wizard pictures
    p.makeUninstaller = false;
    p.SetInstallLanguages({"English", "German"});
    p.SetLanguageChecked(0, true);
    for (auto& s : p.supportedSystems) s.Checked = true;
    p.files.AppendCells({"src/app.bin", "%InstallPath%\\app.bin", "Replace", "Yes"});
    p.files.AppendCells({"src/readme.txt", "%Data%\\readme.txt", "Replace", "Yes"});
    p.files.AppendCells({"src/empty.dat", "%InstallPath%\\empty.dat", "Skip", "No"});
    p.registryVariables.AppendCells({"%Data%", "HKEY_CURRENT_USER", "Software\\%ProductName%", "Data", "%InstallPath%\\data"});
  }

  // Builds stored (cabinets = false) or as cabinets, in volumes of volumeKb when not 0;
  // returns the paths of the volumes in order.
  std::vector<std::string> Build(bool cabinets, int volumeKb) {
    p.compression = cabinets ? 1 : 0;
    p.splitting = volumeKb ? 4 : 0;
    p.volumeSize = volumeKb;
    p.volumeSizeUnit = 1;
    RecordingReporter reporter;
    BuildResult result = RunBuild(p, session, reporter);
    EXPECT_TRUE(result.built) << (reporter.lines.empty() ? "" : reporter.lines.back().text);
    std::vector<std::string> volumes;
    if (!result.built) return volumes;
    volumes.push_back(Out("Setup.exe"));
    for (int n = 2; n <= result.volumeCount; ++n) volumes.push_back(Out("disk" + std::to_string(n) + ".pak"));
    return volumes;
  }

  std::string Out(const std::string& name) const { return projectDir.Path() + "out/" + name; }

  std::unique_ptr<ProgramFolderFixture> program;
  TempFolder projectDir;
  Project p;
  ProjectSession session{p};
  std::vector<std::pair<std::string, std::string>> sources;
};

// A setup opened by the installer's reader, closed again at the end of the scope.
struct OpenSetup {
  explicit OpenSetup(const std::string& path) { error = Take(setup_open(&setup, Wide(path).c_str())); }
  ~OpenSetup() { setup_close(&setup); }
  SetupFile setup;
  std::wstring error;
};

}  // namespace bvq::test
