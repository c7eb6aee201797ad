#pragma once
// A read-only INI file as the Windows profile functions read it: sections and keys compared
// without regard to ASCII letter case, the first of duplicate keys wins, blanks around keys
// and values trimmed, one pair of matching surrounding quotes removed, lines starting with ";"
// ignored. Values are the file's bytes (no code page conversion).
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bvq {

class IniFile {
 public:
  IniFile() = default;
  // Parses `text`.
  static IniFile FromText(std::string_view text);
  // Reads the file; nullopt when it cannot be read.
  static std::optional<IniFile> Load(const std::string& path);

  // The value, or nullopt when the section or key is absent.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  // The value, or `fallback` when absent.
  std::string Get(std::string_view section, std::string_view key, std::string_view fallback = {}) const;
  bool HasSection(std::string_view section) const;
  // Keys of a section in file order (first spelling of each).
  std::vector<std::string> Keys(std::string_view section) const;
  // Section names in file order.
  std::vector<std::string> Sections() const;

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;  // key, value
  };
  const Section* FindSection(std::string_view section) const;
  std::vector<Section> sections_;
};

}  // namespace bvq
