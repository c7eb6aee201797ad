#pragma once
// The update handle and the tree operations shared by the resource editor's files.
#include <cstdint>
#include <memory>
#include <vector>

#include "resedit/pe_image.h"
#include "resedit/resource_update.h"

namespace bvq {

struct TResUpdate {
  int fd = -1;
  bool readOnly = false;  // mapped privately for lookups only; never written back
  uint8_t* view = nullptr;
  size_t viewSize = 0;
  resedit::PeLayout layout;
  TResItem* root = nullptr;
  std::vector<std::unique_ptr<TResItem>> nodes;  // owns every node, also unlinked ones
};

namespace resedit {

// Opens the file read-only (private mapping) for lookups; null on failure, errno set.
TResUpdate* OpenResourcesReadOnly(const std::string& fileName);

// The first child directory matching by number (unnamed, equal id) or exact name.
TResItem* FindChildDirectory(TResItem* parent, const ResName& key);
// The leaf of `nameDir` in `language`, or its first leaf while AnyLanguage is set.
TResItem* FindLanguageLeaf(TResItem* nameDir, uint16_t language);
// The leaf (type, name, language), or null.
TResItem* FindLeaf(TResUpdate* update, const ResName& type, const ResName& name, uint16_t language);

// The resource section's header fields.
inline uint32_t SectionField(const TResUpdate* u, uint32_t field) {
  return Rd32(u->view + u->layout.Section(static_cast<uint32_t>(u->layout.resourceSection)) + field);
}

}  // namespace resedit
}  // namespace bvq
