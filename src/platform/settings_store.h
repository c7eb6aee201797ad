#pragma once
// The program's settings store: an INI file in the user's configuration folder that takes the
// place of the program's registry key. Values keep their registry names; the key's own values
// live in section kMainSection, the recent-projects subkey in section "Reopen". Truth values
// are 0/1 (non-zero reads as true). Save writes atomically.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/outcome.h"

namespace bvq {

class SettingsStore {
 public:
  static constexpr const char* kMainSection = "Belvandorithquessal";
  static constexpr const char* kReopenSection = "Reopen";

  // $XDG_CONFIG_HOME/Oskavarnholt/Belvandorithquessal.conf (default ~/.config/...).
  static std::string DefaultPath();

  // An empty store bound to `path` (nothing is read).
  explicit SettingsStore(std::string path);
  // Reads the store at `path`; a missing or unreadable file gives an empty store bound to it.
  static SettingsStore Open(const std::string& path = DefaultPath());

  const std::string& Path() const { return path_; }

  bool Has(std::string_view section, std::string_view name) const;
  std::optional<std::string> GetString(std::string_view section, std::string_view name) const;
  std::optional<long long> GetInt(std::string_view section, std::string_view name) const;
  std::optional<bool> GetBool(std::string_view section, std::string_view name) const;
  void SetString(std::string_view section, std::string_view name, std::string_view value);
  void SetInt(std::string_view section, std::string_view name, long long value);
  void SetBool(std::string_view section, std::string_view name, bool value);
  void Remove(std::string_view section, std::string_view name);
  void ClearSection(std::string_view section);
  // Value names of a section in stored order.
  std::vector<std::string> Names(std::string_view section) const;

  // Serialised form, and parsing of it (values are stored with \\, \n, \r escaped).
  std::string ToText() const;
  void FromText(std::string_view text);

  // Creates the folder and writes the file atomically.
  Status Save() const;

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
  };
  Section* FindSection(std::string_view section);
  const Section* FindSection(std::string_view section) const;
  std::string path_;
  std::vector<Section> sections_;
};

}  // namespace bvq
