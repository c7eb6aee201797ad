#include "rtf/plain_text.h"

#include <string>

#include "util/code_page.h"

namespace bvq::rtf {
namespace {

std::string DecodeText(std::string_view bytes, int codePage) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
  const bool littleEndian = bytes.starts_with("\xFF\xFE"), bigEndian = bytes.starts_with("\xFE\xFF");
  if (!littleEndian && !bigEndian) return AnsiToUtf8(bytes, codePage);
  std::u16string units;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(littleEndian ? first | second << 8 : first << 8 | second);
  }
  return Utf16ToUtf8Lenient(units);
}

}  // namespace

RichDocument DocumentFromPlainText(std::string_view bytes, int codePage) {
  RichDocument document;
  if (bytes.empty()) return document;
  const std::string text = DecodeText(bytes, codePage);
  CharFormat format;
  format.fontName = kDefaultFontName;
  format.sizeHalfPoints = kDefaultFontSizeHalfPoints;
  size_t start = 0;
  while (true) {
    const size_t end = text.find_first_of("\r\n", start);
    Paragraph& paragraph = document.paragraphs.emplace_back();
    AppendText(paragraph, std::string_view(text).substr(start, end == std::string::npos ? end : end - start), format);
    if (end == std::string::npos) break;
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return document;
}

}  // namespace bvq::rtf
