#include "util/ini_file.h"

#include <gtest/gtest.h>

namespace bvq {
namespace {

TEST(IniFile, ReadsLikeTheProfileFunctions) {
  IniFile ini = IniFile::FromText(
      "; comment\r\n"
      "orphan=ignored\r\n"
      "[Strings]\r\n"
      "  0 =  File  \r\n"
      "1=\"  quoted  \"\r\n"
      "2=\r\n"
      "0=second wins not\r\n"
      "[strings]\r\n"
      "3=merged\r\n"
      "[Other]\n"
      "Key=a=b\n"
      "Bytes=\xCF\xF0\n");
  EXPECT_EQ(ini.Get("Strings", "0"), "File");
  EXPECT_EQ(ini.Get("STRINGS", "1"), "  quoted  ");
  EXPECT_EQ(ini.Find("Strings", "2"), std::optional<std::string>(""));
  EXPECT_EQ(ini.Find("Strings", "9"), std::nullopt);
  EXPECT_EQ(ini.Get("Strings", "3"), "merged");
  EXPECT_EQ(ini.Get("other", "key"), "a=b");
  EXPECT_EQ(ini.Get("Other", "Bytes"), "\xCF\xF0");
  EXPECT_EQ(ini.Get("None", "x", "fallback"), "fallback");
  EXPECT_EQ(ini.Keys("Strings"), (std::vector<std::string>{"0", "1", "2", "3"}));
  EXPECT_FALSE(ini.Find("", "orphan"));
  EXPECT_FALSE(IniFile::Load("/nonexistent/file.lng"));
}

}  // namespace
}  // namespace bvq
