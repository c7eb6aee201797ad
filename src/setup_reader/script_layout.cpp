#include "setup_reader/script_layout.h"

namespace bvq {
namespace {

struct SectionShape {
  char letter;
  const char* title;
  int countField;  // -1: the width is field 57 times the language count (section O)
  size_t width;
};

constexpr SectionShape kShapes[] = {
    {'B', "variables read from the registry", 98, 4},
    {'C', "registry values", 50, 7},
    {'D', "registry entries the uninstaller deletes", 96, 3},
    {'E', "fonts", 31, 2},
    {'F', "shortcuts", 54, 8},
    {'G', "packed files", kFieldFileCount, kPackedFileWidth},
    {'H', "folders", 93, 2},
    {'I', "installer commands", 40, 6},
    {'J', "uninstaller commands", 25, 6},
    {'K', "INI entries", 24, 6},
    {'L', "uninstaller deletions", 45, 2},
    {'M', "ActiveX files", 20, 2},
    {'N', "install languages", 26, 4},
    {'O', "install-language texts", 26, 0},
};

}  // namespace

bool ParseScriptNumber(const std::string& text, unsigned long long& value) {
  if (text.empty() || text.size() > 19) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return true;
}

std::string LayOutScript(const std::vector<std::string>& values, std::vector<ScriptSection>& sections) {
  sections.clear();
  if (values.size() < kSectionAValues)
    return "the script holds " + std::to_string(values.size()) + " values, fewer than the " +
           std::to_string(kSectionAValues) + " settings fields";
  sections.push_back({'A', "settings", 0, 1, kSectionAValues});
  size_t at = kSectionAValues;
  for (const SectionShape& shape : kShapes) {
    unsigned long long count = 0, width = shape.width;
    if (!ParseScriptNumber(values[static_cast<size_t>(shape.countField)], count))
      return "field " + std::to_string(shape.countField) + " (entries of section " + shape.letter +
             ") is not a number: \"" + values[static_cast<size_t>(shape.countField)] + "\"";
    if (shape.width == 0 && !ParseScriptNumber(values[kFieldTextsPerLanguage], width))
      return "field " + std::to_string(kFieldTextsPerLanguage) + " (texts per language) is not a number";
    // Bounded by the values there are, so the products below cannot overflow.
    const size_t left = values.size() - at;
    if (count > left || width > left || (width != 0 && count * width > left))
      return std::string("section ") + shape.letter + " (" + shape.title + ") needs " + std::to_string(count) +
             " entries but only " + std::to_string(left) + " values are left";
    sections.push_back({shape.letter, shape.title, at, static_cast<size_t>(count), static_cast<size_t>(width)});
    at += static_cast<size_t>(count * width);
  }
  if (at != values.size())
    return "the script holds " + std::to_string(values.size()) + " values, but its count fields account for " +
           std::to_string(at);
  return "";
}

}  // namespace bvq
