#pragma once
// Registry texts written into list cells as they stand (never translated): the root key names
// in the order of every root combo box, and the value types in the order of the type box.
// The installer script numbers them by these positions.
#include <array>
#include <string_view>

namespace bvq {

inline constexpr std::array<std::string_view, 7> kRegistryRootNames = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

inline constexpr std::array<std::string_view, 4> kRegistryValueTypes = {"REG_SZ", "REG_BINARY", "REG_DWORD",
                                                                        "REG_EXPAND_SZ"};

// Position of `text` in `names`; -1 when it is none of them.
template <std::size_t N>
int RegistryNameIndex(const std::array<std::string_view, N>& names, std::string_view text) {
  for (std::size_t i = 0; i < N; ++i)
    if (names[i] == text) return static_cast<int>(i);
  return -1;
}

// Position of a root key name in kRegistryRootNames, compared without regard to case (rows
// imported from .reg files or typed by hand may spell "hkey_local_machine"); -1 when none.
inline int RegistryRootIndex(std::string_view text) {
  for (std::size_t i = 0; i < kRegistryRootNames.size(); ++i) {
    const std::string_view name = kRegistryRootNames[i];
    if (name.size() != text.size()) continue;
    bool same = true;
    for (std::size_t c = 0; c < name.size() && same; ++c) {
      const char t = text[c] >= 'a' && text[c] <= 'z' ? static_cast<char>(text[c] - 'a' + 'A') : text[c];
      same = t == name[c];
    }
    if (same) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace bvq
