#pragma once
// The version resource of the installer stub: the product's texts and file version are
// written over the stub's placeholders in place, without changing the file's size.
#include <cstdint>
#include <string>
#include <string_view>

namespace bvq {

struct VersionWords {
  uint32_t mostSignificant = 0;   // a * 65536 + b
  uint32_t leastSignificant = 0;  // c * 65536 + d
};

// Reads up to four numbers a.b.c.d (each 0..65535, blanks around them ignored, missing ones
// 0, text after a fourth "." ignored). False when a part is not such a number.
bool ParseVersionNumbers(std::string_view text, VersionWords& words);

struct VersionTexts {
  std::string companyName;      // all four in the project code page
  std::string fileDescription;
  std::string fileVersion;
  std::string legalCopyright;
};

// Patches the version resource (type 16, name 1, first language) of the 32-bit PE file at
// `path`: the fixed file version, and the string values "CompanyName", "FileDescription",
// "FileVersion" and "LegalCopyright" of table "040904e4", each written over the existing value
// from its first character, cut to the characters that value holds up to its first zero,
// without a terminator. Returns false, leaving the file unchanged, when the file has no such
// resource or value. Raises FileError when the file cannot be read or written.
bool PatchVersionInfo(const std::string& path, const VersionWords& version, const VersionTexts& texts);

}  // namespace bvq
