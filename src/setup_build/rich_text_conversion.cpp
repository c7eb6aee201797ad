#include "setup_build/rich_text_conversion.h"

#include <cstdio>
#include <vector>

#include "rtf/font_charsets.h"
#include "rtf/installer_text.h"
#include "rtf/rich_text.h"
#include "setup_build/binary_file.h"

namespace bvq {

bool IsRichText(std::string_view bytes) {
  size_t i = bytes.find_first_not_of(" \t\r\n");
  return i != std::string_view::npos && bytes.substr(i, 5) == "{\\rtf";
}

std::string PlainTextToRichText(std::string_view text, int codePage) {
  // The installer's rich-text control reads 8-bit text in the code page of the font's
  // character set, not \ansicpg, so the font must name the set of the text's code page.
  int charset = rtf::CharsetOfCodePage(codePage);
  if (charset == rtf::kDefaultCharset) charset = rtf::kAnsiCharset;
  std::string out = "{\\rtf1\\ansi\\ansicpg" + std::to_string(codePage) + "\\deff0{\\fonttbl{\\f0\\fnil\\fcharset" +
                    std::to_string(charset) + " Tahoma;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs16 ";
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '{': out += "\\{"; break;
      case '}': out += "\\}"; break;
      case '\t': out += "\\tab "; break;
      case '\r':
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        [[fallthrough]];
      case '\n': out += "\\par\r\n"; break;
      default:
        if (c > 127) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\'%02x", c);
          out += hex;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += "\\par\r\n}\r\n";
  return out;
}

void ConvertToRichTextFile(const std::string& source, const std::string& target, int codePage) {
  std::string bytes;
  if (!source.empty()) {
    BinaryFile in(source, BinaryFile::Mode::Read);
    bytes.resize(static_cast<size_t>(in.Size()));
    bytes.resize(in.Read(bytes.data(), bytes.size()));
  }
  BinaryFile out(target, BinaryFile::Mode::Create);
  if (IsRichText(bytes)) {
    // Sound RTF goes in as it is; damaged RTF is written anew from what the reader made of it.
    const std::string_view rtf = std::string_view(bytes).substr(bytes.find('{'));
    out.Write(rtf::InstallerRichText(rtf, codePage));
  } else {
    out.Write(PlainTextToRichText(bytes, codePage));
  }
  out.Close();
}

}  // namespace bvq
