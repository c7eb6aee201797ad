#pragma once
// The installer script as sections: section A's 121 fields, then lists whose entry counts are
// fields of section A and whose entries have a fixed number of values.
#include <cstddef>
#include <string>
#include <vector>

namespace bvq {

struct ScriptSection {
  char letter = 'A';
  const char* title = "";
  size_t first = 0;    // index of its first value
  size_t entries = 0;  // entries (languages for N and O); 1 for A
  size_t width = 0;    // values per entry
};

// Field numbers the reader looks at.
enum ScriptFieldNumber : int {
  kFieldBuilder = 0,
  kFieldVolumePattern = 21,
  kFieldTotalSourceSize = 23,
  kFieldProduct = 28,
  kFieldSingleFile = 34,
  kFieldVersion = 35,
  kFieldCompany = 42,
  kFieldTextsPerLanguage = 57,
  kFieldFileCount = 67,
  kFieldFullCabinetSize = 95,
  kFieldLastCabinet = 117,
  kFieldLastCabinetSize = 118,
};
constexpr size_t kSectionAValues = 121;
constexpr size_t kPackedFileWidth = 3;  // section G: destination, mode, uninstall
inline constexpr const char* kBuilderPrefix = "Belvandorithquessal v. ";

// Splits the values into sections. "" when the count fields are numbers and the sections fill
// the values exactly; otherwise what does not fit.
std::string LayOutScript(const std::vector<std::string>& values, std::vector<ScriptSection>& sections);

// A decimal number of at most 19 digits; false for anything else (sign, blanks, empty).
bool ParseScriptNumber(const std::string& text, unsigned long long& value);

}  // namespace bvq
