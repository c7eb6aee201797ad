// The window tests need a QApplication; without a display they use the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "project/language_files.h"
#include "util/program_values.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The interface strings and window texts of the English language file in the source tree.
  bvq::SetProgramFolder(BVQ_SOURCE_DIR "/data/");
  if (!bvq::LoadInterfaceLanguage("English")) return 2;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
