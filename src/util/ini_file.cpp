#include "util/ini_file.h"

#include "util/files.h"
#include "util/strings.h"

namespace bvq {

static std::string_view TrimSpace(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

IniFile IniFile::FromText(std::string_view text) {
  IniFile ini;
  Section* current = nullptr;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = TrimSpace(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      std::string_view name = TrimSpace(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
      current = const_cast<Section*>(ini.FindSection(name));
      if (!current) {
        ini.sections_.push_back(Section{std::string(name), {}});
        current = &ini.sections_.back();
      }
      continue;
    }
    if (!current) continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view key = TrimSpace(line.substr(0, eq));
    std::string_view value = TrimSpace(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    bool known = false;
    for (const auto& [k, v] : current->entries)
      if (EqualsNoCase(k, key)) known = true;
    if (!known) current->entries.emplace_back(std::string(key), std::string(value));
  }
  return ini;
}

std::optional<IniFile> IniFile::Load(const std::string& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  return FromText(*bytes);
}

const IniFile::Section* IniFile::FindSection(std::string_view section) const {
  for (const Section& s : sections_)
    if (EqualsNoCase(s.name, section)) return &s;
  return nullptr;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  for (const auto& [k, v] : s->entries)
    if (EqualsNoCase(k, key)) return v;
  return std::nullopt;
}

std::string IniFile::Get(std::string_view section, std::string_view key, std::string_view fallback) const {
  auto v = Find(section, key);
  return v ? *v : std::string(fallback);
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

std::vector<std::string> IniFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* s = FindSection(section))
    for (const auto& [k, v] : s->entries) keys.push_back(k);
  return keys;
}

std::vector<std::string> IniFile::Sections() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

}  // namespace bvq
