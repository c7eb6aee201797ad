#include "resedit/resource_locate.h"

#include "resedit/resource_tree_internal.h"

namespace bvq {

using namespace resedit;

std::optional<ResourceLocation> LocateResource(const std::string& fileName, const ResName& type, const ResName& name,
                                               std::optional<uint16_t> language) {
  ResourceUpdate* update = OpenResourcesReadOnly(fileName);
  if (!update) return std::nullopt;
  std::optional<ResourceLocation> result;
  ResourceNode* nameDir = FindChildDirectory(FindChildDirectory(update->root, type), name);
  for (ResourceNode* c = nameDir ? nameDir->FirstChild : nullptr; c; c = c->Next) {
    if (c->IsDirectory || !c->Name.empty() || (language && c->Id != *language)) continue;
    result = ResourceLocation{static_cast<uint64_t>(c->SourceData - update->view), c->Size,
                              static_cast<uint16_t>(c->Id)};
    break;
  }
  EndResourceUpdate(update, true);
  return result;
}

std::optional<ResourceLocation> LocateVersionResource(const std::string& fileName) {
  return LocateResource(fileName, kRtVersion, 1);
}

}  // namespace bvq
