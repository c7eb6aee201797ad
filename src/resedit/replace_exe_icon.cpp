#include "resedit/replace_exe_icon.h"

#include "resedit/icon_group.h"
#include "util/code_page.h"

namespace bvq {

bool ReplaceExeIcon(const std::string& exeFileName, const std::string& icoFileName, const std::string& groupName,
                    uint16_t language) {
  ResourceUpdate* update = BeginResourceUpdate(exeFileName, false);
  if (!update) return false;
  const bool loaded = LoadIconGroupFromIco(update, ResName::FromUtf8(AnsiToUtf8(groupName)), language, icoFileName);
  const bool written = EndResourceUpdate(update, false);
  return loaded && written;
}

}  // namespace bvq
