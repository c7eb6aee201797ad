#include "app/file_names.h"

#include "util/files.h"
#include "util/paths.h"
#include "util/program_values.h"
#include "util/strings.h"

namespace bvq::app {

std::string ProposeProjectFile(const std::string& productName, const std::string& folder) {
  std::string name;
  for (char c : productName)
    if (c != '"' && c != '*' && c != '?') name.push_back(c);
  // A product name may hold path separators; a proposed file name must not.
  for (char& c : name)
    if (c == '/' || c == '\\') c = '_';
  if (name.empty()) name = "NewProduct";
  std::string candidate = folder + name + ".bvq";
  for (int n = 1; FileExists(candidate) || DirectoryExists(candidate); ++n)
    candidate = folder + name + std::to_string(n) + ".bvq";
  return candidate;
}

std::string WithProjectExtension(const std::string& path) {
  if (path.size() >= 4 && path[path.size() - 4] == '.') return path;
  return path + ".bvq";
}

std::string WindowTitle(const std::string& projectFileName) {
  std::string title;
  if (!projectFileName.empty()) {
    std::string name = ExtractFileName(projectFileName);
    if (name.size() >= 4 && EqualsNoCase(name.substr(name.size() - 4), ".bvq")) name.resize(name.size() - 4);
    title = name + " - ";
  }
  return title + kProgramName + " " + ProgramVersion();
}

}  // namespace bvq::app
