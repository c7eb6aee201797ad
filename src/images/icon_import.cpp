#include "images/icon_import.h"

#include <cerrno>
#include <cstring>

#include "platform/shell_folders.h"
#include "resedit/icon_group.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq::images {

ImportedIcon ImportIcon(const std::string& picked, std::optional<int> groupIndex, const std::string& userDataFolder) {
  ImportedIcon result;
  if (ToLowerAscii(LastFourChars(picked)) == ".ico") {
    result.kind = ImportedIcon::Kind::Kept;
    result.path = picked;
    return result;
  }
  const std::string source = NativePath(ExpandCurrentPath(picked));
  result.groupCount = CountIconGroups(source);
  if (result.groupCount == 0) {
    result.kind = ImportedIcon::Kind::NoIcons;
    return result;
  }
  int index = 0;
  if (result.groupCount > 1) {
    if (!groupIndex) {
      result.kind = ImportedIcon::Kind::ChooseGroup;
      return result;
    }
    index = *groupIndex;
  }
  if (index < 0 || index >= result.groupCount) {
    result.error = "The file has no icon number " + IntText(index) + ".";
    return result;
  }
  const std::string folder = userDataFolder.empty() ? UserDataFolder() : userDataFolder;
  const std::string target = UniqueNumberedFileIn(folder, "Icons/Import/Icon_", "ico");
  errno = 0;
  if (!ExtractIconGroupToIco(source, index, target) || !FileExists(target)) {
    const int error = errno;
    result.error = "The icon cannot be taken from " + source + (error ? std::string(": ") + std::strerror(error) : "") + ".";
    return result;
  }
  result.kind = ImportedIcon::Kind::Extracted;
  result.path = target;
  return result;
}

}  // namespace bvq::images
