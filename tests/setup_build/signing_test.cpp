// The sign command runs through /bin/sh with {file} as one shell word, whatever the path holds.
#include "setup_build/signing.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace bvq {
namespace {

TEST(SignFile, PathReachesTheCommandAsOneWord) {
  test::TempFolder dir;
  for (const std::string name : {"plain.exe", "with space.exe", "it's $HOME `x` \"q\".exe", "semi;colon&.exe"}) {
    SCOPED_TRACE(name);
    const std::string file = dir.Path() + name;
    test::WriteFile(file, "MZ");
    // Appends to the file named by its single argument: only a correctly quoted path lands there.
    const SignOutcome outcome = SignFile("printf signed >> {file}; printf '%s|' {file}", file);
    EXPECT_TRUE(outcome.signedOk) << outcome.output;
    EXPECT_EQ(test::ReadFile(file), "MZsigned");
    EXPECT_EQ(outcome.output, file + "|");
  }
}

TEST(SignFile, FailureAndItsOutput) {
  test::TempFolder dir;
  const std::string file = dir.Path() + "Setup.exe";
  test::WriteFile(file, "MZ");
  SignOutcome outcome = SignFile("echo no certificate >&2; exit 4", file);
  EXPECT_FALSE(outcome.signedOk);
  EXPECT_EQ(outcome.output, "no certificate\n");
  // A command that succeeds but leaves no file has not signed it.
  outcome = SignFile("rm {file}", file);
  EXPECT_FALSE(outcome.signedOk);
  EXPECT_NE(outcome.output.find("missing"), std::string::npos);
}

}  // namespace
}  // namespace bvq
