#include "app/project_info.h"

#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/project_paths.h"
#include "util/files.h"
#include "util/strings.h"

namespace bvq::app {

std::string GroupedCount(int64_t count) {
  std::string digits = std::to_string(count < 0 ? -count : count);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(' ');
    out.push_back(digits[i]);
  }
  return count < 0 ? "-" + out : out;
}

std::vector<std::string> InfoSourceFiles(const Project& project) {
  std::vector<std::string> files;
  for (const EntryRow& row : project.files.Rows)
    if (row.Caption != InterfaceString(kTextEmptyFolder)) files.push_back(ResolveProjectPath(project, row.Caption));
  return files;
}

ProjectInfoTexts ComputeProjectInfo(std::size_t entryCount, const std::vector<std::string>& sources,
                                    const std::string& lastSetupSizeText, int lastVolumeIndex) {
  int64_t total = 0;
  for (const std::string& file : sources)
    if (FileExists(file)) total += FileSize64(file);
  ProjectInfoTexts t;
  t.totalSize = SizeText(total);
  t.fileCount = GroupedCount(static_cast<int64_t>(entryCount));
  const std::string setup = TrimBlanks(lastSetupSizeText);
  t.setupSize = setup.empty() ? SizeText(0) : setup;
  // The volumes written after the setup file: the last volume index itself (0 for a setup in
  // one file). Older windows showed one less from two volumes on, which miscounted.
  t.volumes = GroupedCount(lastVolumeIndex);
  return t;
}

}  // namespace bvq::app
