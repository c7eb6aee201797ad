#include "app/recent_projects.h"

#include <algorithm>

#include "util/files.h"
#include "util/strings.h"

namespace bvq::app {

std::vector<std::string> StoredRecent(const SettingsStore& store) {
  std::vector<std::string> list;
  for (const std::string& name : store.Names(SettingsStore::kReopenSection))
    if (auto value = store.GetString(SettingsStore::kReopenSection, name)) list.push_back(*value);
  return list;
}

std::vector<std::string> RefreshRecent(SettingsStore& store, const std::string& path) {
  auto same = [](const std::string& a, const std::string& b) { return EqualsNoCase(a, b); };
  std::vector<std::string> list;
  for (const std::string& entry : StoredRecent(store)) {
    const bool repeated = std::any_of(list.begin(), list.end(), [&](const std::string& e) { return same(e, entry); });
    if (!repeated && FileExists(entry)) list.push_back(entry);
  }
  if (!path.empty()) {
    std::erase_if(list, [&](const std::string& e) { return same(e, path); });
    list.insert(list.begin(), path);
  }
  if (list.size() > static_cast<std::size_t>(kRecentProjectsMax)) list.resize(kRecentProjectsMax);

  store.ClearSection(SettingsStore::kReopenSection);
  for (std::size_t i = 0; i < list.size(); ++i)
    store.SetString(SettingsStore::kReopenSection, std::to_string(i), list[i]);
  store.Save();
  return list;
}

}  // namespace bvq::app
