#include "project/reg_import.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "util/code_page.h"

namespace bvq {
namespace {

RegImportOptions ValueOptions() {
  RegImportOptions options;
  options.OverwriteCell = "yes";
  options.UninstallCell = "no";
  return options;
}

using Cells = std::vector<std::string>;

Cells RowCells(const EntryList& list, std::size_t i) {
  Cells cells;
  for (int c = 0; c < list.ColumnCount(); ++c) cells.push_back(list[i].Cell(c));
  return cells;
}

// Little-endian UTF-16 with its byte-order mark, from ASCII/Latin-1 text.
std::string Utf16Le(const std::string& text) {
  std::string out = "\xFF\xFE";
  for (unsigned char c : text) {
    out += static_cast<char>(c);
    out += '\0';
  }
  return out;
}

TEST(RegImport, Regedit4ExampleAddsStringAndDword) {
  EntryList list(7);
  auto result = ImportRegText(
      "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Acme]\r\n\"Path\"=\"C:\\\\Acme\"\r\n"
      "\"Count\"=dword:0000000a\r\n",
      list, ValueOptions());
  EXPECT_EQ(result.Status, RegImportStatus::Complete);
  EXPECT_EQ(result.RowsAdded, 2u);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(RowCells(list, 0),
            (Cells{"HKEY_LOCAL_MACHINE", "Software\\Acme", "Path", "REG_SZ", "C:\\Acme", "yes", "no"}));
  EXPECT_EQ(RowCells(list, 1),
            (Cells{"HKEY_LOCAL_MACHINE", "Software\\Acme", "Count", "REG_DWORD", "10", "yes", "no"}));
}

struct ValueCase {
  const char* line;
  const char* name;
  const char* type;
  const char* data;
};

TEST(RegImport, ValueKinds) {
  const ValueCase cases[] = {
      {"\"S\"=\"plain\"", "S", "REG_SZ", "plain"},
      {"\"Empty\"=\"\"", "Empty", "REG_SZ", ""},
      {"\"Esc\"=\"a\\\\b\\\\\\\\c\"", "Esc", "REG_SZ", "a\\b\\\\c"},
      {"@=\"default\"", "", "REG_SZ", "default"},
      {"\"Unc\"=\"\\\\\\\\srv\\\\share\"", "Unc", "REG_SZ", "\\\\srv\\share"},
      {"\"Bin\"=hex:01,02,ff", "Bin", "REG_BINARY", "01 02 ff"},
      {"\"BinUpper\"=HEX:0A", "BinUpper", "REG_BINARY", "0A"},
      {"\"D1\"=dword:0000ffff", "D1", "REG_DWORD", "65535"},
      {"\"D2\"=dword:ffffffff", "D2", "REG_DWORD", "-1"},
      {"\"D3\"=DWORD:80000000", "D3", "REG_DWORD", "-2147483648"},
      {"\"D4\"=dword:7fffffff", "D4", "REG_DWORD", "2147483647"},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.line);
    EntryList list(7);
    auto result = ImportRegText(std::string("REGEDIT4\n[HKEY_USERS\\K]\n") + c.line + "\n", list, ValueOptions());
    EXPECT_EQ(result.Status, RegImportStatus::Complete);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(RowCells(list, 0), (Cells{"HKEY_USERS", "K", c.name, c.type, c.data, "yes", "no"}));
  }
}

TEST(RegImport, TypedHexValuesAreSkipped) {
  EntryList list(7);
  auto result = ImportRegText(
      "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"Exp\"=hex(2):25,00,41,00,\\\n  00,00\n\"Multi\"=HEX(7):00,00\n"
      "\"After\"=\"kept\"\n",
      list, ValueOptions());
  EXPECT_EQ(result.Status, RegImportStatus::Complete);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Cell(2), "After");
}

TEST(RegImport, ContinuationLinesJoinIntoOneRow) {
  EntryList list(7);
  ImportRegText("REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"Bin\"=hex:01,02,\\\n  03,04,\\\n  05\n\"Next\"=\"n\"\n", list,
                ValueOptions());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Cell(3), "REG_BINARY");
  EXPECT_EQ(list[0].Cell(4), "01 02 03 04 05");
  EXPECT_EQ(list[1].Cell(2), "Next");
}

TEST(RegImport, KeyLinesAreMatchedWithoutCaseAndKeptAsWritten) {
  EntryList list(7);
  ImportRegText(
      "REGEDIT4\n[hkey_current_user\\x]\n\"A\"=\"1\"\n[-HKEY_LOCAL_MACHINE\\Gone]\n\"B\"=\"2\"\n"
      "[HKEY_LOCAL_MACHINE]\n\"C\"=\"3\"\n[HKEY_USERSX\\Y]\n\"D\"=\"4\"\n",
      list, ValueOptions());
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(RowCells(list, 0)[0], "hkey_current_user");
  EXPECT_EQ(RowCells(list, 0)[1], "x");
  // The deletion line matches no root: the previous key stays current.
  EXPECT_EQ(RowCells(list, 1)[0], "hkey_current_user");
  EXPECT_EQ(RowCells(list, 2)[0], "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(RowCells(list, 2)[1], "");
  // A name that only begins with a root name is not that root.
  EXPECT_EQ(RowCells(list, 3)[0], "HKEY_LOCAL_MACHINE");
}

TEST(RegImport, ValueBeforeAnyKey) {
  EntryList values(7);
  ImportRegText("REGEDIT4\n\"A\"=\"1\"\n", values, ValueOptions());
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(RowCells(values, 0), (Cells{"HKEY_CLASSES_ROOT", "", "A", "REG_SZ", "1", "yes", "no"}));

  EntryList deletions(3);
  RegImportOptions options;
  options.Target = RegImportTarget::Deletions;
  ImportRegText("REGEDIT4\n\"A\"=\"1\"\n", deletions, options);
  ASSERT_EQ(deletions.size(), 1u);
  EXPECT_EQ(RowCells(deletions, 0), (Cells{"", "", "A"}));
}

TEST(RegImport, DeletionTargetKeepsRootSubkeyAndName) {
  EntryList list(3);
  RegImportOptions options;
  options.Target = RegImportTarget::Deletions;
  ImportRegText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Acme]\n\"Path\"=\"C:\\\\Acme\"\n@=dword:1\n", list, options);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(RowCells(list, 0), (Cells{"HKEY_LOCAL_MACHINE", "Software\\Acme", "Path"}));
  EXPECT_EQ(RowCells(list, 1), (Cells{"HKEY_LOCAL_MACHINE", "Software\\Acme", ""}));
}

TEST(RegImport, FirstLineIsNeverParsed) {
  EntryList list(7);
  auto result = ImportRegText("\"A\"=\"1\"\n\"B\"=\"2\"\n", list, ValueOptions());
  // Not REGEDIT4 and not UTF-16: the conversion yields nothing usable.
  EXPECT_EQ(result.Status, RegImportStatus::Complete);
  EXPECT_TRUE(list.empty());
  ImportRegText("regedit4\n\"B\"=\"2\"\n", list, ValueOptions());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Cell(2), "B");
}

TEST(RegImport, Utf16Version5FileIsConvertedToAnsi) {
  SetAnsiCodePage(1252);
  EntryList list(7);
  std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Caf\xE9]\r\n"
      "\"Name\"=\"Stra\xDF" "e\"\r\n\"N\"=dword:00000020\r\n";
  auto result = ImportRegText(Utf16Le(text), list, ValueOptions());
  EXPECT_EQ(result.Status, RegImportStatus::Complete);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(RowCells(list, 0),
            (Cells{"HKEY_CURRENT_USER", "Software\\Caf\xE9", "Name", "REG_SZ", "Stra\xDF" "e", "yes", "no"}));
  EXPECT_EQ(list[1].Cell(4), "32");
}

TEST(RegImport, BadDwordEndsImportKeepingEarlierRows) {
  const char* bad[] = {"dword:0000000g", "dword:123456789", "dword:", "dword:12 34"};
  for (const char* data : bad) {
    SCOPED_TRACE(data);
    EntryList list(7);
    auto result = ImportRegText(
        std::string("REGEDIT4\n[HKEY_USERS\\K]\n\"A\"=\"1\"\n\"Bad\"=") + data + "\n\"C\"=\"3\"\n", list,
        ValueOptions());
    EXPECT_EQ(result.Status, RegImportStatus::BadDword);
    EXPECT_EQ(result.StopLine, 4);
    EXPECT_EQ(result.RowsAdded, 1u);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Cell(2), "A");
  }
}

TEST(RegImport, MalformedInputNeverCrashes) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
  const std::string inputs[] = {
      "",
      "\xFF",
      junk,
      Utf16Le("Windows Registry Editor Version 5.00\r\n\"A\"=\"1\"\r\n") + "\x41",  // truncated unit
      std::string("\xFF\xFE\x00\xD8\x41\x00", 6),  // unpaired surrogate
      "REGEDIT4\n\"",
      "REGEDIT4\n\"unterminated=value\n@=\n\"x\"=\n[\n[]\n",
      "REGEDIT4\n\"A\"=hex:01,\\\n",  // continuation at end of file
      "REGEDIT4\n[HKEY_USERS\\" + std::string(100 * 1024, 'k') + "]\n\"" + std::string(100 * 1024, 'n') +
          "\"=\"" + std::string(100 * 1024, 'v') + "\"\n",
  };
  for (const std::string& input : inputs) {
    EntryList list(7);
    auto result = ImportRegText(input, list, ValueOptions());
    EXPECT_NE(result.Status, RegImportStatus::Unreadable);
    EXPECT_EQ(result.RowsAdded, list.size());
  }
  EntryList list(7);
  ImportRegText(inputs[8], list, ValueOptions());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Cell(1).size(), 100u * 1024u);
  EXPECT_EQ(list[0].Cell(4).size(), 100u * 1024u);
}

TEST(RegImport, ReadsFilesAndReportsUnreadableOnes) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "bvq-regimport-test";
  std::filesystem::create_directories(dir);
  std::string file = (dir / "values.reg").string();
  {
    std::ofstream out(file, std::ios::binary);
    out << Utf16Le("Windows Registry Editor Version 5.00\r\n[HKEY_CLASSES_ROOT\\.abc]\r\n@=\"abcfile\"\r\n");
  }
  EntryList list(7);
  auto result = ImportRegFile(file, list, ValueOptions());
  EXPECT_EQ(result.Status, RegImportStatus::Complete);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(RowCells(list, 0), (Cells{"HKEY_CLASSES_ROOT", ".abc", "", "REG_SZ", "abcfile", "yes", "no"}));

  EntryList none(7);
  EXPECT_EQ(ImportRegFile((dir / "missing.reg").string(), none, ValueOptions()).Status, RegImportStatus::Unreadable);
  EXPECT_TRUE(none.empty());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace bvq
