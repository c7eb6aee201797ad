// GoogleTest with one QApplication on the offscreen platform, the program folder of the build
// tree, and private settings, data, documents and working folders under a temporary folder.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "project/language_files.h"
#include "util/program_values.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  bvq::test::TempFolder home;
  for (const char* folder : {"config", "data", "Documents", "work"})
    std::filesystem::create_directories(home.Path() + folder);
  setenv("HOME", home.Path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home.Path() + "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (home.Path() + "data").c_str(), 1);
  bvq::SetProgramFolder(BVQ_BINARY_DIR "/");
  bvq::SetWorkFolder(home.Path() + "work/");
  bvq::LoadInterfaceLanguage("English");

  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
