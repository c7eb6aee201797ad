#include "platform/settings_store.h"

#include <cstdlib>

#include "platform/shell_folders.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq {
namespace {

std::string EscapeValue(std::string_view value) {
  std::string s;
  for (char c : value) {
    if (c == '\\') s += "\\\\";
    else if (c == '\n') s += "\\n";
    else if (c == '\r') s += "\\r";
    else s += c;
  }
  return s;
}

std::string UnescapeValue(std::string_view value) {
  std::string s;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      char n = value[++i];
      s += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
    } else {
      s += value[i];
    }
  }
  return s;
}

}  // namespace

std::string SettingsStore::DefaultPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base = (config && config[0] == '/') ? std::string(config) : HomeFolder() + ".config";
  return IncludeTrailingSeparator(base) + "Oskavarnholt/Belvandorithquessal.conf";
}

SettingsStore::SettingsStore(std::string path) : path_(std::move(path)) {}

SettingsStore SettingsStore::Open(const std::string& path) {
  SettingsStore store(path);
  if (auto bytes = ReadFileBytes(path)) store.FromText(*bytes);
  return store;
}

SettingsStore::Section* SettingsStore::FindSection(std::string_view section) {
  for (Section& s : sections_)
    if (EqualsNoCase(s.name, section)) return &s;
  return nullptr;
}

const SettingsStore::Section* SettingsStore::FindSection(std::string_view section) const {
  return const_cast<SettingsStore*>(this)->FindSection(section);
}

bool SettingsStore::Has(std::string_view section, std::string_view name) const {
  return GetString(section, name).has_value();
}

std::optional<std::string> SettingsStore::GetString(std::string_view section, std::string_view name) const {
  if (const Section* s = FindSection(section))
    for (const auto& [k, v] : s->values)
      if (EqualsNoCase(k, name)) return v;
  return std::nullopt;
}

std::optional<long long> SettingsStore::GetInt(std::string_view section, std::string_view name) const {
  auto text = GetString(section, name);
  if (!text) return std::nullopt;
  constexpr int64_t kInvalid = INT64_MIN;
  int64_t v = ParseInt(*text, kInvalid);
  if (v == kInvalid) return std::nullopt;
  return v;
}

std::optional<bool> SettingsStore::GetBool(std::string_view section, std::string_view name) const {
  auto v = GetInt(section, name);
  if (!v) return std::nullopt;
  return *v != 0;
}

void SettingsStore::SetString(std::string_view section, std::string_view name, std::string_view value) {
  Section* s = FindSection(section);
  if (!s) {
    sections_.push_back(Section{std::string(section), {}});
    s = &sections_.back();
  }
  for (auto& [k, v] : s->values) {
    if (EqualsNoCase(k, name)) {
      v = std::string(value);
      return;
    }
  }
  s->values.emplace_back(std::string(name), std::string(value));
}

void SettingsStore::SetInt(std::string_view section, std::string_view name, long long value) {
  SetString(section, name, std::to_string(value));
}

void SettingsStore::SetBool(std::string_view section, std::string_view name, bool value) {
  SetString(section, name, value ? "1" : "0");
}

void SettingsStore::Remove(std::string_view section, std::string_view name) {
  if (Section* s = FindSection(section))
    std::erase_if(s->values, [&](const auto& kv) { return EqualsNoCase(kv.first, name); });
}

void SettingsStore::ClearSection(std::string_view section) {
  if (Section* s = FindSection(section)) s->values.clear();
}

std::vector<std::string> SettingsStore::Names(std::string_view section) const {
  std::vector<std::string> names;
  if (const Section* s = FindSection(section))
    for (const auto& [k, v] : s->values) names.push_back(k);
  return names;
}

std::string SettingsStore::ToText() const {
  std::string text;
  for (const Section& s : sections_) {
    if (s.values.empty()) continue;
    if (!text.empty()) text += "\n";
    text += "[" + s.name + "]\n";
    for (const auto& [k, v] : s.values) text += k + "=" + EscapeValue(v) + "\n";
  }
  return text;
}

void SettingsStore::FromText(std::string_view text) {
  sections_.clear();
  Section* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      std::string name(line.substr(1, line.size() - 2));
      current = FindSection(name);
      if (!current) {
        sections_.push_back(Section{name, {}});
        current = &sections_.back();
      }
      continue;
    }
    size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    std::string name(line.substr(0, eq));
    SetString(current->name, name, UnescapeValue(line.substr(eq + 1)));
    current = FindSection(current->name);  // SetString may have grown the vector
  }
}

Status SettingsStore::Save() const {
  std::string folder = ExtractFilePath(path_);
  if (!folder.empty() && !ForceDirectories(folder)) return Status::Fail("cannot create the folder " + folder);
  return WriteFileAtomic(path_, ToText());
}

}  // namespace bvq
