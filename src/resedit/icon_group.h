#pragma once
// Icon groups (RT_GROUP_ICON with their RT_ICON images) between a PE file's resources and
// .ico files.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "resedit/res_name.h"
#include "resedit/resource_update.h"

namespace bvq {

// Replaces (or adds) the group `groupName` in `language` by the images of the .ico file.
// The old group's icon ids are reused in order; further images get the next free ids above
// the smallest old id, or from 50 for a new group. False before any change when the .ico file
// cannot be read or is malformed.
bool LoadIconGroupFromIco(ResourceUpdate* update, const ResName& groupName, uint16_t language,
                          const std::string& icoFileName);

// Writes the group and its images as an .ico file (replacing an existing one atomically).
// False, without writing, when the group or all of its images are missing.
bool SaveIconGroupToIco(ResourceUpdate* update, const ResName& groupName, uint16_t language,
                        const std::string& icoFileName);

// Deletes the group and each icon it lists; true also when the group does not exist.
bool DeleteIconGroup(ResourceUpdate* update, const ResName& groupName, uint16_t language);

// The name (or number) of the index-th icon group, 0-based, in tree order.
std::optional<ResName> GetIconGroupName(ResourceUpdate* update, int index);

// Saves the index-th icon group of an executable (any language) as an .ico file. The
// executable is only read.
bool ExtractIconGroupToIco(const std::string& exeFileName, int index, const std::string& icoFileName);

// The icon groups of a PE file in tree order; empty when there are none or the file is not
// a readable 32-bit PE file.
std::vector<ResName> ListIconGroups(const std::string& exeFileName);
int CountIconGroups(const std::string& exeFileName);

}  // namespace bvq
