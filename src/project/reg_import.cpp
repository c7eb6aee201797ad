#include "project/reg_import.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "project/registry_names.h"
#include "util/code_page.h"
#include "util/strings.h"

namespace bvq {
namespace {

// Splits text into lines at CR LF, LF or CR. A final line break does not start a new line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// UTF-16 bytes -> UTF-8. A trailing odd byte is dropped; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    auto b0 = static_cast<unsigned char>(bytes[2 * i]);
    auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0));
  }
  return Utf16ToUtf8Lenient(units);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One to eight hexadecimal digits read as a signed 32-bit number; nullopt for anything else.
std::optional<int32_t> ParseDword(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : digits) {
    int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value << 4 | static_cast<uint32_t>(d);
  }
  return static_cast<int32_t>(value);
}

// Every doubled backslash becomes one, in a single left-to-right pass, so an escaped UNC
// path keeps both of its backslashes (\\\\server in the file becomes \\server).
std::string UnescapeBackslashes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') ++i;
  }
  return out;
}

// Parsing state carried from line to line.
class RegParser {
 public:
  RegParser(EntryList& list, const RegImportOptions& options) : list_(list), options_(options) {}

  // Parses lines 2 .. last of `lines`.
  RegImportResult Run(const std::vector<std::string_view>& lines) {
    for (std::size_t n = 1; n < lines.size(); ++n) {
      if (!Line(lines[n])) {
        result_.Status = RegImportStatus::BadDword;
        result_.StopLine = static_cast<int>(n + 1);
        break;
      }
    }
    return result_;
  }

 private:
  // Returns false when the import must stop.
  bool Line(std::string_view line) {
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      KeyLine(line);
      return true;
    }
    if (continuation_) {
      bool more = !line.empty() && line.back() == '\\';
      if (more) line.remove_suffix(1);
      continuation_ = more;
      data_ += line.size() > 2 ? line.substr(2) : std::string_view();
      return more ? true : Complete();
    }
    if (!line.empty() && line.front() == '"') {
      std::size_t close = line.find('"', 1);
      if (close == std::string_view::npos) return true;  // no closing quote: not a value line
      name_ = std::string(line.substr(1, close - 1));
      std::string_view rest = line.substr(close + 1);
      return StartData(rest.empty() ? rest : rest.substr(1));
    }
    if (line.size() >= 2 && line[0] == '@' && line[1] == '=') {
      name_.clear();
      return StartData(line.substr(2));
    }
    return true;  // comments, empty lines, header lines
  }

  void KeyLine(std::string_view line) {
    std::string_view inner = line.substr(1, line.size() - 2);  // without "[" and "]"
    for (std::string_view rootName : kRegistryRootNames) {
      if (!StartsWithNoCase(inner, rootName)) continue;
      std::string_view after = inner.substr(rootName.size());
      if (!after.empty() && after.front() != '\\') continue;  // a longer name, not this root
      root_ = std::string(inner.substr(0, rootName.size()));
      subkey_ = after.empty() ? std::string() : std::string(after.substr(1));
      return;
    }
  }

  bool StartData(std::string_view data) {
    continuation_ = !data.empty() && data.back() == '\\';
    if (continuation_) data.remove_suffix(1);
    data_ = std::string(data);
    return continuation_ ? true : Complete();
  }

  // Decodes the finished value and adds its row. False for an unconvertible dword.
  bool Complete() {
    std::string data = std::move(data_);
    data_.clear();
    if (StartsWithNoCase(data, "HEX(")) return true;  // typed binary data is not imported
    if (StartsWithNoCase(data, "HEX:")) {
      data = ReplaceAll(data.substr(4), ",", " ");
      type_ = "REG_BINARY";
    } else if (StartsWithNoCase(data, "DWORD:")) {
      std::optional<int32_t> value = ParseDword(std::string_view(data).substr(6));
      if (!value) return false;
      data = IntText(*value);
      type_ = "REG_DWORD";
    } else if (!data.empty() && data.front() == '"') {
      data = data.size() >= 2 ? data.substr(1, data.size() - 2) : std::string();
      data = UnescapeBackslashes(data);
      type_ = "REG_SZ";
    }
    if (options_.Target == RegImportTarget::Values) {
      list_.AppendCells({root_.empty() ? std::string("HKEY_CLASSES_ROOT") : root_, subkey_, name_,
                         type_.empty() ? std::string("REG_SZ") : type_, data, options_.OverwriteCell,
                         options_.UninstallCell});
    } else {
      list_.AppendCells({root_, subkey_, name_});
    }
    ++result_.RowsAdded;
    return true;
  }

  EntryList& list_;
  const RegImportOptions& options_;
  RegImportResult result_;
  std::string root_, subkey_, name_, data_, type_;
  bool continuation_ = false;
};

}  // namespace

RegImportResult ImportRegText(std::string_view bytes, EntryList& list, const RegImportOptions& options) {
  std::vector<std::string_view> lines = SplitLines(bytes);
  if (lines.empty()) return {};
  if (ToUpperAscii(lines.front()) == "REGEDIT4") return RegParser(list, options).Run(lines);
  // Version 5 exports: UTF-16 after a byte-order mark, read as ANSI text. The header line
  // ("Windows Registry Editor Version 5.00") is the first line and is skipped like "REGEDIT4".
  bool bigEndian = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
                   static_cast<unsigned char>(bytes[1]) == 0xFF;
  std::string converted = Utf8ToAnsi(Utf16ToUtf8(bytes.size() >= 2 ? bytes.substr(2) : std::string_view(), bigEndian));
  std::vector<std::string_view> convertedLines = SplitLines(converted);
  if (convertedLines.empty()) return {};
  return RegParser(list, options).Run(convertedLines);
}

RegImportResult ImportRegFile(const std::string& file, EntryList& list, const RegImportOptions& options) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {RegImportStatus::Unreadable, 0, 0};
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return {RegImportStatus::Unreadable, 0, 0};
  return ImportRegText(bytes, list, options);
}

}  // namespace bvq
