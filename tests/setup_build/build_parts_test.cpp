// Small parts of the build: trailer, work files, version numbers, rich text, rounding, the
// command-line log line.
#include <filesystem>

#include "setup_build/binary_file.h"
#include "setup_build/build_log.h"
#include "setup_build/build_progress.h"
#include "rtf/rtf_reader.h"
#include "setup_build/rich_text_conversion.h"
#include "setup_build/setup_trailer.h"
#include "setup_build/version_info.h"
#include "setup_build/work_files.h"
#include "test_support.h"

namespace bvq {
namespace {
namespace fs = std::filesystem;

TEST(SetupTrailer, RoundTripAndFixedBytes) {
  SetupTrailer t{0x1122334455667788ULL, 5, 0x10000, 0x10005, true, 200};
  auto bytes = EncodeSetupTrailer(t);
  EXPECT_EQ(bytes[0], 0x88);
  EXPECT_EQ(bytes[7], 0x11);
  EXPECT_EQ(bytes[8], 5);
  EXPECT_EQ(bytes[32], 1);
  EXPECT_EQ(bytes[33], 200);
  EXPECT_EQ(bytes[34], 120);
  EXPECT_EQ(bytes[35], 241);
  auto back = DecodeSetupTrailer(bytes.data());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->scriptStart, t.scriptStart);
  EXPECT_EQ(back->dataBlockSize, 5u);
  EXPECT_EQ(back->dataStart, 0x10000u);
  EXPECT_EQ(back->payloadStart, 0x10005u);
  EXPECT_TRUE(back->cabinets);
  bytes[35] = 0;
  EXPECT_FALSE(DecodeSetupTrailer(bytes.data()));
}

TEST(WorkFiles, NamesAndCleanUp) {
  test::TempFolder dir;
  const std::string work = dir / "work/";
  EXPECT_EQ(WorkFilePath(work, kWorkLicense), work + "License.tmp");
  EXPECT_EQ(WorkFilePath(work, kWorkData), work + "Data.tmp");
  EXPECT_EQ(WorkFilePath(work, kWorkUninstall), work + "Uninst.tmp");
  EXPECT_EQ(WorkFilePath(work, 0), work + "Pack/0000.tmp");
  EXPECT_EQ(WorkFilePath(work, 12345), work + "Pack/12345.tmp");
  EXPECT_TRUE(fs::is_directory(work + "Pack"));  // created by the call

  for (int n : {-1, -2, -3, -4, -5, -6, -7, 0, 1}) test::WriteFile(WorkFilePath(work, n), "x");
  test::WriteFile(work + "Pack/sub/deep.tmp", "x");
  test::WriteFile(work + "keep.txt", "x");  // not a work file
  RemoveWorkFiles(work);
  std::vector<std::string> left;
  for (auto& e : fs::recursive_directory_iterator(work)) left.push_back(e.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"keep.txt"});
  RemoveWorkFiles(work);  // nothing left to remove: no error
}

// A link planted in the work folder is removed, its target never emptied; each build's
// private folder is its own and goes with everything in it.
TEST(WorkFiles, CleanUpNeverFollowsLinks) {
  test::TempFolder dir;
  const std::string work = dir / "work/";
  const std::string outside = dir / "outside/";
  test::WriteFile(outside + "precious.txt", "keep");
  test::WriteFile(outside + "sub/precious.txt", "keep");
  fs::create_directories(work);
  fs::create_directory_symlink(outside, work + "Pack");
  fs::create_symlink(outside + "precious.txt", work + "Data.tmp");
  RemoveWorkFiles(work);
  EXPECT_FALSE(fs::exists(fs::symlink_status(work + "Pack")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(work + "Data.tmp")));

  const std::string first = MakePrivateWorkFolder(work);
  const std::string second = MakePrivateWorkFolder(work);
  EXPECT_NE(first, second);
  EXPECT_EQ(first.rfind(work, 0), 0u);
  EXPECT_EQ(fs::status(first).permissions() & fs::perms::all, fs::perms::owner_all);
  test::WriteFile(WorkFilePath(first, 0), "x");
  fs::create_directory_symlink(outside, first + "link");
  fs::create_directory_symlink(outside, WorkFilePath(first, 1) + ".dir");
  RemovePrivateWorkFolder(first);
  EXPECT_FALSE(fs::exists(fs::symlink_status(first)));
  EXPECT_TRUE(fs::is_directory(second));
  RemovePrivateWorkFolder(second);
  EXPECT_EQ(test::ReadFile(outside + "precious.txt"), "keep");
  EXPECT_EQ(test::ReadFile(outside + "sub/precious.txt"), "keep");
}

TEST(VersionNumbers, Parse) {
  struct Case { const char* text; bool ok; uint32_t ms, ls; };
  const Case cases[] = {
      {"1.2", true, 0x00010002, 0},
      {"2.5", true, 0x00020005, 0},
      {"1.2.3.4.5", true, 0x00010002, 0x00030004},
      {" 7 . 8 ", true, 0x00070008, 0},
      {"", true, 0, 0},
      {"65535.0.0.65535", true, 0xFFFF0000, 0x0000FFFF},
      {"5.04 beta", false, 0, 0},
      {"65536", false, 0, 0},
      {"1..2", false, 0, 0},
      {"-1", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    VersionWords w;
    EXPECT_EQ(ParseVersionNumbers(c.text, w), c.ok);
    if (c.ok) {
      EXPECT_EQ(w.mostSignificant, c.ms);
      EXPECT_EQ(w.leastSignificant, c.ls);
    }
  }
}

TEST(RichText, PlainTextBecomesRichText) {
  std::string rtf = PlainTextToRichText("a\\b{c}\r\nline 2\n\xE9t\xE9\rend", 1252);
  EXPECT_TRUE(IsRichText(rtf));
  EXPECT_NE(rtf.find("\\ansicpg1252"), std::string::npos);
  EXPECT_NE(rtf.find("a\\\\b\\{c\\}\\par\r\nline 2\\par\r\n\\'e9t\\'e9\\par\r\nend"), std::string::npos);
  EXPECT_EQ(rtf.back(), '\n');
  EXPECT_EQ(rtf[rtf.size() - 3], '}');
}

// The installer's rich-text control decodes 8-bit text by the font's character set, so a
// Cyrillic text must come with a Cyrillic font, a Western one with the Western set.
TEST(RichText, PlainTextFontNamesTheCharacterSetOfItsCodePage) {
  struct Case {
    int codePage;
    const char* font;
  } cases[] = {{1252, "\\fcharset0 "}, {1251, "\\fcharset204 "}, {1250, "\\fcharset238 "}, {932, "\\fcharset128 "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.codePage);
    std::string rtf = PlainTextToRichText("\xCF\xF0\xE8", c.codePage);
    EXPECT_NE(rtf.find("\\ansicpg" + std::to_string(c.codePage)), std::string::npos);
    EXPECT_NE(rtf.find(c.font), std::string::npos);
  }
}

TEST(RichText, FilesConvertedOrTakenAsTheyAre) {
  test::TempFolder dir;
  test::WriteFile(dir / "a.rtf", "{\\rtf1\\ansi {\\b bold}}");
  test::WriteFile(dir / "b.txt", "plain {text}");
  ConvertToRichTextFile(dir / "a.rtf", dir / "out1", 1251);
  EXPECT_EQ(test::ReadFile(dir / "out1"), "{\\rtf1\\ansi {\\b bold}}");
  ConvertToRichTextFile(dir / "b.txt", dir / "out2", 1251);
  EXPECT_NE(test::ReadFile(dir / "out2").find("plain \\{text\\}"), std::string::npos);
  ConvertToRichTextFile("", dir / "out3", 1252);  // no file: an empty document
  EXPECT_TRUE(IsRichText(test::ReadFile(dir / "out3")));
  EXPECT_THROW(ConvertToRichTextFile(dir / "missing.txt", dir / "out4", 1252), FileError);
}

TEST(RichText, DamagedRichTextIsWrittenAnew) {
  test::TempFolder dir;
  // Cut off before its closing braces, after leading blank lines.
  test::WriteFile(dir / "cut.rtf", "\r\n{\\rtf1\\ansi\\ansicpg1251 {\\b \\'cf\\'f0\\'e8} plain");
  ConvertToRichTextFile(dir / "cut.rtf", dir / "out", 1251);
  const rtf::RtfReadResult read = rtf::ReadRtf(test::ReadFile(dir / "out"));
  EXPECT_TRUE(read.problems.empty());
  ASSERT_EQ(read.document.paragraphs.size(), 1u);
  const std::vector<rtf::Run>& runs = read.document.paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, "\xD0\x9F\xD1\x80\xD0\xB8");  // "При"
  EXPECT_TRUE(runs[0].format.bold);
  EXPECT_EQ(runs[1].text, " plain");
  EXPECT_FALSE(runs[1].format.bold);
}

TEST(Progress, RoundsHalfToEven) {
  EXPECT_EQ(ProgressUnits(0), 0u);
  EXPECT_EQ(ProgressUnits(511), 0u);
  EXPECT_EQ(ProgressUnits(512), 0u);   // 0.5 -> 0
  EXPECT_EQ(ProgressUnits(1536), 2u);  // 1.5 -> 2
  EXPECT_EQ(ProgressUnits(2560), 2u);  // 2.5 -> 2
  EXPECT_EQ(ProgressUnits(2561), 3u);
  EXPECT_EQ(RoundedQuotient(UINT64_MAX, 2), UINT64_MAX / 2 + 1);  // .5 on an odd quotient
}

TEST(LogLine, CommandLineFormat) {
  std::tm tm{};
  tm.tm_year = 124; tm.tm_mon = 0; tm.tm_mday = 2;
  tm.tm_hour = 9; tm.tm_min = 5; tm.tm_sec = 7; tm.tm_isdst = -1;
  LogLine line{"Compiling...", LogIcon::Warning, std::mktime(&tm)};
  EXPECT_EQ(FormatLogLine(line), "09:05:07  warn  Compiling...");
  line.icon = LogIcon::Error;
  EXPECT_EQ(FormatLogLine(line), "09:05:07  error  Compiling...");
  line.icon = LogIcon::Information;
  EXPECT_EQ(FormatLogLine(line), "09:05:07  info  Compiling...");
}

}  // namespace
}  // namespace bvq
