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

}  // namespace bvq
