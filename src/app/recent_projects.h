#pragma once
// The recent-projects list: at most ten full paths, most recent first, kept in the settings
// store's "Reopen" section as values "0", "1", ... in list order.
#include <string>
#include <vector>

#include "platform/settings_store.h"

namespace bvq::app {

inline constexpr int kRecentProjectsMax = 10;

// Reads the stored list (a path repeated in another letter case counts once), drops the
// entries whose file no longer exists, puts `path` (when not empty) on top without its
// older copies, keeps the ten newest, writes the section anew and returns the list.
std::vector<std::string> RefreshRecent(SettingsStore& store, const std::string& path = {});

// The list as stored, without checks (for the menu between refreshes).
std::vector<std::string> StoredRecent(const SettingsStore& store);

}  // namespace bvq::app
