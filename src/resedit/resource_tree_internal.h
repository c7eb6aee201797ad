#pragma once
// The update handle and the tree operations shared by the resource editor's files.
#include <cstdint>
#include <memory>
#include <vector>

#include "resedit/pe_image.h"
#include "resedit/resource_update.h"

namespace bvq {

struct ResourceUpdate {
  int fd = -1;
  bool readOnly = false;  // mapped privately for lookups only; never written back
  uint8_t* view = nullptr;
  size_t viewSize = 0;
  resedit::PeLayout layout;
  ResourceNode* root = nullptr;
  std::vector<std::unique_ptr<ResourceNode>> nodes;  // owns every node, also unlinked ones
};

namespace resedit {

// Opens the file read-only (private mapping) for lookups; null on failure, errno set.
ResourceUpdate* OpenResourcesReadOnly(const std::string& fileName);

// The first child directory matching by number (unnamed, equal id) or exact name.
ResourceNode* FindChildDirectory(ResourceNode* parent, const ResName& key);
// The leaf of `nameDir` in `language`, or its first leaf while AnyLanguage is set.
ResourceNode* FindLanguageLeaf(ResourceNode* nameDir, uint16_t language);
// The leaf (type, name, language), or null.
ResourceNode* FindLeaf(ResourceUpdate* update, const ResName& type, const ResName& name, uint16_t language);

// The resource section's header fields.
inline uint32_t SectionField(const ResourceUpdate* u, uint32_t field) {
  return Rd32(u->view + u->layout.Section(static_cast<uint32_t>(u->layout.resourceSection)) + field);
}

}  // namespace resedit
}  // namespace bvq
