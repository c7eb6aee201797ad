#include "resedit/icon_group.h"

#include <cerrno>
#include <cstring>

#include "resedit/ico_format.h"
#include "resedit/pe_image.h"
#include "resedit/resource_tree_internal.h"
#include "util/files.h"

namespace bvq {

using namespace resedit;

namespace {

constexpr uint32_t kGroupEntrySize = 14;
constexpr uint16_t kFirstNewIconId = 50;

// The RT_ICON ids a group lists, in order (a short group is read as far as it goes).
std::vector<uint16_t> GroupIconIds(const std::vector<uint8_t>& group) {
  std::vector<uint16_t> ids;
  if (group.size() < 6) return ids;
  const uint32_t count = Rd16(group.data() + 4);
  for (uint32_t i = 0; i < count && 6 + kGroupEntrySize * (i + 1) <= group.size(); ++i)
    ids.push_back(Rd16(group.data() + 6 + kGroupEntrySize * i + 12));
  return ids;
}

bool IconIdUsed(ResourceUpdate* u, uint16_t id) {
  return FindChildDirectory(FindChildDirectory(u->root, kRtIcon), id) != nullptr;
}

// Sets AnyLanguage for its lifetime, also when the guarded step fails.
struct AnyLanguageScope {
  AnyLanguageScope() { AnyLanguage = true; }
  ~AnyLanguageScope() { AnyLanguage = false; }
};

bool Load(ResourceUpdate* u, const ResName& groupName, uint16_t language, const std::string& icoFileName) {
  const std::optional<std::string> bytes = ReadFileBytes(icoFileName);
  if (!bytes) return false;
  const std::optional<IcoFile> ico = ParseIco(*bytes);
  if (!ico || ico->images.empty()) {
    errno = EINVAL;
    return false;
  }

  std::vector<uint16_t> reuse;
  if (ResourceNode* old = FindLeaf(u, kRtGroupIcon, groupName, language)) {
    std::vector<uint8_t> group;
    if (!ReadLeafBytes(*old, group)) return false;
    reuse = GroupIconIds(group);
  }
  uint32_t search = kFirstNewIconId;
  if (!reuse.empty()) {
    search = reuse[0];
    for (uint16_t id : reuse) search = std::min<uint32_t>(search, id);
  }
  if (!DeleteIconGroup(u, groupName, language)) return false;

  std::vector<uint8_t> group(6 + kGroupEntrySize * ico->images.size());
  std::memcpy(group.data(), bytes->data(), 6);
  for (size_t i = 0; i < ico->images.size(); ++i) {
    uint32_t id;
    if (i < reuse.size()) {
      id = reuse[i];
    } else {
      while (search <= 0xFFFF && IconIdUsed(u, static_cast<uint16_t>(search))) ++search;
      if (search > 0xFFFF) {
        errno = ENOSPC;
        return false;
      }
      id = search++;
    }
    const IcoImage& image = ico->images[i];
    uint8_t* entry = group.data() + 6 + kGroupEntrySize * i;
    std::memcpy(entry, image.entry, 12);
    Wr16(entry + 12, static_cast<uint16_t>(id));
    if (!UpdateResourceEntry(u, kRtIcon, static_cast<int>(id), language, image.bytes.data(),
                             static_cast<uint32_t>(image.bytes.size())))
      return false;
  }
  return UpdateResourceEntry(u, kRtGroupIcon, groupName, language, group.data(), static_cast<uint32_t>(group.size()));
}

bool Save(ResourceUpdate* u, const ResName& groupName, uint16_t language, const std::string& icoFileName) {
  ResourceNode* leaf = FindLeaf(u, kRtGroupIcon, groupName, language);
  if (!leaf) {
    errno = ENOENT;
    return false;
  }
  std::vector<uint8_t> group;
  if (!ReadLeafBytes(*leaf, group) || group.size() < 6) {
    if (group.size() < 6) errno = EINVAL;
    return false;
  }
  IcoFile ico;
  ico.reserved = Rd16(group.data());
  ico.type = Rd16(group.data() + 2);
  const std::vector<uint16_t> ids = GroupIconIds(group);
  for (size_t i = 0; i < ids.size(); ++i) {
    ResourceNode* iconLeaf = FindLeaf(u, kRtIcon, ids[i], language);
    if (!iconLeaf) continue;
    std::vector<uint8_t> image;
    if (!ReadLeafBytes(*iconLeaf, image)) return false;
    IcoImage entry;
    std::memcpy(entry.entry, group.data() + 6 + kGroupEntrySize * i, 12);
    entry.bytes.assign(image.begin(), image.end());
    ico.images.push_back(std::move(entry));
  }
  if (ico.images.empty()) {
    errno = ENOENT;
    return false;
  }
  if (!WriteFileAtomic(icoFileName, SerializeIco(ico))) {
    if (errno == 0) errno = EIO;
    return false;
  }
  return true;
}

std::vector<ResName> GroupNames(ResourceUpdate* u) {
  std::vector<ResName> names;
  ResourceNode* groups = FindChildDirectory(u->root, kRtGroupIcon);
  for (ResourceNode* c = groups ? groups->FirstChild : nullptr; c; c = c->Next) {
    if (!c->IsDirectory) continue;
    if (!c->Name.empty()) names.emplace_back(c->Name);
    else names.emplace_back(c->Id <= 0xFFFF ? static_cast<int>(c->Id) : -1);
  }
  return names;
}

}  // namespace

bool LoadIconGroupFromIco(ResourceUpdate* update, const ResName& groupName, uint16_t language,
                          const std::string& icoFileName) {
  if (!update || !groupName.IsValid()) {
    errno = EINVAL;
    return false;
  }
  try {
    return Load(update, groupName, language, icoFileName);
  } catch (...) {
    errno = ENOMEM;
    return false;
  }
}

bool SaveIconGroupToIco(ResourceUpdate* update, const ResName& groupName, uint16_t language,
                        const std::string& icoFileName) {
  if (!update || !groupName.IsValid()) {
    errno = EINVAL;
    return false;
  }
  try {
    return Save(update, groupName, language, icoFileName);
  } catch (...) {
    errno = ENOMEM;
    return false;
  }
}

bool DeleteIconGroup(ResourceUpdate* update, const ResName& groupName, uint16_t language) {
  if (!update || !groupName.IsValid()) {
    errno = EINVAL;
    return false;
  }
  try {
    ResourceNode* leaf = FindLeaf(update, kRtGroupIcon, groupName, language);
    if (!leaf) return true;
    std::vector<uint8_t> group;
    if (!ReadLeafBytes(*leaf, group)) return false;
    bool ok = UpdateResourceEntry(update, kRtGroupIcon, groupName, language, nullptr, 0);
    for (uint16_t id : GroupIconIds(group)) ok = UpdateResourceEntry(update, kRtIcon, id, language, nullptr, 0) && ok;
    return ok;
  } catch (...) {
    errno = ENOMEM;
    return false;
  }
}

std::optional<ResName> GetIconGroupName(ResourceUpdate* update, int index) {
  if (!update || index < 0) return std::nullopt;
  try {
    std::vector<ResName> names = GroupNames(update);
    if (static_cast<size_t>(index) >= names.size()) return std::nullopt;
    return names[static_cast<size_t>(index)];
  } catch (...) {
    return std::nullopt;
  }
}

bool ExtractIconGroupToIco(const std::string& exeFileName, int index, const std::string& icoFileName) {
  // A private read-only mapping: the executable itself is never opened for writing.
  ResourceUpdate* update = OpenResourcesReadOnly(exeFileName);
  if (!update) return false;
  bool ok = false;
  if (std::optional<ResName> name = GetIconGroupName(update, index)) {
    AnyLanguageScope any;
    ok = SaveIconGroupToIco(update, *name, 0, icoFileName);
  } else {
    errno = ENOENT;
  }
  const int error = errno;
  EndResourceUpdate(update, true);
  errno = error;
  return ok;
}

std::vector<ResName> ListIconGroups(const std::string& exeFileName) {
  ResourceUpdate* update = OpenResourcesReadOnly(exeFileName);
  if (!update) return {};
  std::vector<ResName> names;
  try {
    names = GroupNames(update);
  } catch (...) {
    names.clear();
  }
  EndResourceUpdate(update, true);
  return names;
}

int CountIconGroups(const std::string& exeFileName) { return static_cast<int>(ListIconGroups(exeFileName).size()); }

}  // namespace bvq
