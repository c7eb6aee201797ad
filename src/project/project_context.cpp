#include "project/project_context.h"

#include "project/language_files.h"
#include "util/paths.h"

namespace bvq {

std::optional<InterfaceStringTable> OldLanguageStrings(const ProjectContext& context, const std::string& name) {
  if (context.LanguageStrings) return context.LanguageStrings(name);
  return ReadRawLanguageStrings(InterfaceLanguageFile(name));
}

}  // namespace bvq
