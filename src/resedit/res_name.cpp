#include "resedit/res_name.h"

namespace bvq {

ResName::ResName(int id) : id_(static_cast<uint16_t>(id)), valid_(id >= 0 && id <= 0xFFFF) {}
ResName::ResName(std::u16string name) : name_(std::move(name)), valid_(!name_.empty() && name_.size() <= 0xFFFF) {}
ResName::ResName(const char16_t* name) : ResName(std::u16string(name ? name : u"")) {}
ResName::ResName(const char* utf8Name) : ResName(Utf8ToUtf16Lenient(utf8Name ? utf8Name : "")) {}
ResName ResName::FromUtf8(std::string_view utf8Name) { return ResName(Utf8ToUtf16Lenient(utf8Name)); }

std::string ResName::ToString() const {
  if (!valid_) return "(invalid)";
  return IsId() ? "#" + std::to_string(id_) : Utf16ToUtf8Lenient(name_);
}

std::u16string Utf8ToUtf16Lenient(std::string_view s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    uint32_t cp = 0xFFFD;
    size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 6) {
      len = 2, cp = c & 0x1F;
    } else if ((c >> 4) == 14) {
      len = 3, cp = c & 0x0F;
    } else if ((c >> 3) == 30) {
      len = 4, cp = c & 0x07;
    }
    if (len > 1) {
      bool ok = i + len <= s.size();
      for (size_t k = 1; ok && k < len; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + k]);
        ok = (cc >> 6) == 2;
        cp = (cp << 6) | (cc & 0x3F);
      }
      if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) cp = 0xFFFD, len = 1;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}


}  // namespace bvq
