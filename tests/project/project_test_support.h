#pragma once
// A program folder of its own for every project test: interface languages "English" and
// "Deutsch", install languages, icons and bitmaps, and an interface string table in which
// every string is distinct.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "project/interface_strings.h"
#include "project/new_project.h"
#include "project/project.h"
#include "project/project_context.h"
#include "util/files.h"
#include "util/program_values.h"

namespace bvq::test {

class ProjectTestFolder {
 public:
  ProjectTestFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "bvq-project-XXXXXX").string();
    char* made = mkdtemp(tmpl.data());
    path_ = std::string(made ? made : tmpl.c_str()) + "/";
  }
  ~ProjectTestFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }
  std::string Write(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path p = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  std::string Read(const std::string& path) const { return ReadFileBytes(path).value_or("<missing>"); }

 private:
  std::string path_;
};

// English strings: "E<n>", with the words the tests look at.
inline InterfaceStringTable EnglishStrings() {
  InterfaceStringTable table;
  for (int i = 0; i < kInterfaceStringCount; ++i) table[i] = "E" + std::to_string(i);
  table[7] = "All languages";
  table[26] = "(folder)";
  table[62] = "Yes";
  table[63] = "No";
  table[97] = "This is not a project file.";
  table[112] = "Missing: ";
  table[113] = " Go on?";
  table[130] = "Setup";
  table[162] = "Uninstall";
  table[163] = "Background title";
  return table;
}

// The "Strings" section of a language file for `table`.
inline std::string LanguageFileText(const std::string& ownName, const InterfaceStringTable& table) {
  std::string text = "[Language]\r\nName=" + ownName + "\r\n[Strings]\r\n";
  for (int i = 0; i < kInterfaceStringCount; ++i) text += std::to_string(i) + "=" + table[i] + "\r\n";
  return text;
}

inline InterfaceStringTable GermanStrings() {
  InterfaceStringTable table;
  for (int i = 0; i < kInterfaceStringCount; ++i) table[i] = "D" + std::to_string(i);
  table[62] = "Ja";
  table[63] = "Nein";
  return table;
}

// A fixture with the program folder set up and the English strings in use.
class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.Write("Language/Interface/English.lng", LanguageFileText("English", EnglishStrings()));
    folder_.Write("Language/Interface/Deutsch.lng", LanguageFileText("Deutsch", GermanStrings()));
    folder_.Write("Icons/Install/setup.ico", "icon");
    folder_.Write("Icons/Install/Another.ico", "icon");
    folder_.Write("Icons/Uninstall/remove.ico", "icon");
    folder_.Write("Bitmaps/Header/header.bmp", "bmp");
    folder_.Write("Bitmaps/Wizard/wizard.bmp", "bmp");
    SetProgramFolder(folder_.Path());
    SetInterfaceStrings(EnglishStrings());
    context_.InterfaceLanguage = "English";
    context_.Clock = [] { return FixedTime(2031, 1, 1); };
    project_.SetInstallLanguages({"Deutsch (Deutsch)", "English", "Russian (Russki)"});
    NewProject(project_, session_, context_);
  }

  static std::time_t FixedTime(int year, int month, int day) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = 12;
    return std::mktime(&tm);
  }

  ProjectTestFolder folder_;
  ProjectContext context_;
  Project project_;
  ProjectSession session_{project_};
};

}  // namespace bvq::test
