// GoogleTest with one QGuiApplication on the offscreen platform and the build tree as the
// program folder.
#include <QGuiApplication>
#include <gtest/gtest.h>

#include "util/program_values.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  bvq::SetProgramFolder(BVQ_BINARY_DIR "/");
  QGuiApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
