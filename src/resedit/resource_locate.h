#pragma once
// Read-only lookups of resources in a PE file, for callers that patch resource bytes in place.
#include <cstdint>
#include <optional>
#include <string>

#include "resedit/res_name.h"

namespace bvq {

struct ResourceLocation {
  uint64_t fileOffset = 0;  // where the resource's bytes start in the file
  uint32_t size = 0;
  uint16_t language = 0;
};

// The resource (type, name) in `language`, or its first language when `language` is empty.
std::optional<ResourceLocation> LocateResource(const std::string& fileName, const ResName& type, const ResName& name,
                                               std::optional<uint16_t> language = std::nullopt);

// The version resource: type 16, name 1, first language.
std::optional<ResourceLocation> LocateVersionResource(const std::string& fileName);

}  // namespace bvq
