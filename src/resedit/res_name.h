#pragma once
// A resource type or name: a number below 0x10000 or a UTF-16 name, as the resource
// directory of a PE file stores them.
#include <cstdint>
#include <string>
#include <string_view>

#include "util/code_page.h"  // Utf8ToUtf16Lenient, Utf16ToUtf8Lenient

namespace bvq {

class ResName {
 public:
  // A number; outside 0..0xFFFF the value is invalid and every operation given it fails, as
  // is an empty name or one longer than 65535 units.
  ResName(int id);  // NOLINT(google-explicit-constructor): mirrors numbered resources
  ResName(std::u16string name);
  ResName(const char16_t* name);
  // A name given in UTF-8.
  ResName(const char* utf8Name);
  static ResName FromUtf8(std::string_view utf8Name);

  bool IsValid() const { return valid_; }
  bool IsId() const { return name_.empty(); }
  uint16_t Id() const { return id_; }
  const std::u16string& Name() const { return name_; }
  // "#12" for a number, the name in UTF-8 otherwise (messages and tests).
  std::string ToString() const;

  friend bool operator==(const ResName& a, const ResName& b) {
    return a.valid_ == b.valid_ && a.id_ == b.id_ && a.name_ == b.name_;
  }

 private:
  uint16_t id_ = 0;
  std::u16string name_;
  bool valid_ = true;
};

// Well-known resource types.
constexpr int kRtIcon = 3;
constexpr int kRtGroupIcon = 14;
constexpr int kRtVersion = 16;

}  // namespace bvq
