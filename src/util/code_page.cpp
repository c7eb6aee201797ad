#include "util/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cerrno>
#include <string>

namespace bvq {
namespace {

std::atomic<int> g_codePage{kDefaultAnsiCodePage};

std::string CodePageName(int codePage) { return "CP" + std::to_string(codePage); }

// Length of the valid UTF-8 sequence at the start of `s`, or 1 for a broken one.
size_t Utf8SequenceLength(const char* s, size_t left) {
  unsigned char lead = static_cast<unsigned char>(s[0]);
  size_t n = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xC2 && lead <= 0xDF ? 2 : 1;
  if (n > left) return 1;
  for (size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 1;
  return n;
}

// Converts with iconv; an input sequence that cannot be converted is skipped (`skip` bytes
// for a single-byte source, one UTF-8 sequence otherwise) and `substitute` written instead.
std::string Convert(std::string_view text, const std::string& from, const std::string& to,
                    bool fromUtf8, std::string_view substitute) {
  // Every ANSI code page agrees with ASCII and UTF-8 on the first 128 characters, so plain
  // ASCII (most names and paths) is itself: opening a converter costs more than the text.
  if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return std::string(text);
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // Unknown code page: keep ASCII, substitute everything else.
    std::string out;
    for (size_t i = 0; i < text.size();) {
      unsigned char c = static_cast<unsigned char>(text[i]);
      if (c < 0x80) {
        out += static_cast<char>(c);
        ++i;
      } else {
        out += substitute;
        i += fromUtf8 ? Utf8SequenceLength(text.data() + i, text.size() - i) : 1;
      }
    }
    return out;
  }
  std::string out;
  char buffer[4096];
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (r != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: an input the target cannot hold or a broken sequence.
    size_t skip = fromUtf8 ? Utf8SequenceLength(in, inLeft) : 1;
    in += skip;
    inLeft -= skip;
    out += substitute;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  char* outPtr = buffer;
  size_t outLeft = sizeof buffer;
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  out.append(buffer, static_cast<size_t>(outPtr - buffer));
  iconv_close(cd);
  return out;
}

}  // namespace

int AnsiCodePage() { return g_codePage.load(); }
void SetAnsiCodePage(int codePage) { g_codePage.store(codePage); }

std::string AnsiToUtf8(std::string_view text, int codePage) {
  return Convert(text, CodePageName(codePage), "UTF-8", false, "\xEF\xBF\xBD");
}

std::string Utf8ToAnsi(std::string_view text, int codePage) {
  return Convert(text, "UTF-8", CodePageName(codePage), true, "?");
}

bool IsKnownCodePage(int codePage) {
  iconv_t cd = iconv_open("UTF-8", CodePageName(codePage).c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(cd);
  return true;
}

char32_t NextUtf8CodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  // 0xC0 and 0xC1 could only start two-byte forms of ASCII; 0xF5 and up lie beyond U+10FFFF.
  const std::size_t length = lead < 0x80                  ? 1
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                             : lead >= 0xE0                 ? 3
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                                                            : 0;
  char32_t value = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
  bool valid = length > 0 && pos + length <= text.size();
  for (std::size_t i = 1; valid && i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    valid = (next & 0xC0) == 0x80;
    value = (value << 6) | (next & 0x3F);
  }
  if (!valid || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)) {
    ++pos;
    return 0xFFFD;
  }
  pos += length;
  return value;
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c >= 0x10000) {
    out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(c));
  }
}

std::u16string Utf8ToUtf16Lenient(std::string_view utf8) {
  std::u16string out;
  for (std::size_t pos = 0; pos < utf8.size();) AppendUtf16(out, NextUtf8CodePoint(utf8, pos));
  return out;
}

std::string Utf16ToUtf8Lenient(std::u16string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace bvq
