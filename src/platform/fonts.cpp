#include "platform/fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H

#include "util/code_page.h"

namespace bvq {
namespace {

constexpr size_t kMaxFullName = 63;  // the system's full-name buffer holds 64 with the terminator

// UTF-16BE bytes -> UTF-8 (an odd last byte is dropped).
std::string Utf16BeToUtf8(const FT_Byte* s, FT_UInt len) {
  std::u16string units;
  for (FT_UInt i = 0; i + 1 < len; i += 2) units.push_back(static_cast<char16_t>((s[i] << 8) | s[i + 1]));
  return Utf16ToUtf8Lenient(units);
}

// The full name from the name table as UTF-8: Windows English first, then any Windows
// language, then the Macintosh Roman entry.
std::string SfntFullName(FT_Face face) {
  FT_UInt count = FT_Get_Sfnt_Name_Count(face);
  std::string windowsAny, mac;
  for (FT_UInt i = 0; i < count; ++i) {
    FT_SfntName name;
    if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != TT_NAME_ID_FULL_NAME) continue;
    if (name.platform_id == TT_PLATFORM_MICROSOFT &&
        (name.encoding_id == TT_MS_ID_UNICODE_CS || name.encoding_id == TT_MS_ID_SYMBOL_CS)) {
      std::string text = Utf16BeToUtf8(name.string, name.string_len);
      if (name.language_id == TT_MS_LANGID_ENGLISH_UNITED_STATES) return text;
      if (windowsAny.empty()) windowsAny = text;
    } else if (name.platform_id == TT_PLATFORM_MACINTOSH && name.encoding_id == TT_MAC_ID_ROMAN && mac.empty()) {
      for (FT_UInt k = 0; k < name.string_len; ++k)
        if (name.string[k] < 0x80) mac += char(name.string[k]);
    }
  }
  return windowsAny.empty() ? mac : windowsAny;
}

}  // namespace

std::string FontNameFromFile(const std::string& path) {
  FT_Library library;
  if (FT_Init_FreeType(&library) != 0) return {};
  std::string utf8;
  FT_Face face;
  if (FT_New_Face(library, path.c_str(), 0, &face) == 0) {
    if (FT_IS_SFNT(face)) utf8 = SfntFullName(face);
    if (utf8.empty() && face->family_name) {
      utf8 = face->family_name;
      std::string style = face->style_name ? face->style_name : "";
      if (!style.empty() && style != "Regular") utf8 += " " + style;
    }
    FT_Done_Face(face);
  }
  FT_Done_FreeType(library);
  std::string ansi = Utf8ToAnsi(utf8);
  if (ansi.size() > kMaxFullName) ansi.resize(kMaxFullName);
  return ansi;
}

}  // namespace bvq
