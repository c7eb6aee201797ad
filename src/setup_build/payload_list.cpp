#include "setup_build/payload_list.h"

#include <ctime>

#include "project/entry_dialog.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/project_paths.h"
#include "util/files.h"

namespace bvq {

void Log(BuildReporter& reporter, const std::string& text, LogIcon icon) {
  reporter.AddLogLine(LogLine{text, icon, std::time(nullptr)});
  reporter.ProcessEvents();
}

bool IsFolderOnlyEntry(const EntryRow& row) { return row.Caption == InterfaceString(kTextEmptyFolder); }

int IfExistsMode(const std::string& cell) {
  for (int i = 0; i <= 4; ++i)
    if (cell == InterfaceString(kTextIfExistsAsk + i)) return i;
  return 2;
}

PayloadList CollectPayload(const Project& project, const std::string& uninstallerFile, BuildReporter& reporter) {
  PayloadList list;
  for (const EntryRow& row : project.files.Rows) {
    if (IsFolderOnlyEntry(row)) continue;
    const std::string source = ResolveProjectPath(project, row.Caption);
    if (row.Caption.empty() || !FileExists(source)) {
      Log(reporter, InterfaceString(kTextSourceFileMissing) + row.Caption, LogIcon::Warning);
      continue;
    }
    list.totalSourceSize += static_cast<uint64_t>(FileSize64(source));
    list.files.push_back({source, row.Cell(1), IfExistsMode(row.Cell(2)), IsYesCell(row.Cell(3))});
  }
  if (!uninstallerFile.empty()) {
    list.totalSourceSize += static_cast<uint64_t>(FileSize64(uninstallerFile));
    list.files.push_back({uninstallerFile, project.uninstallerFile, 2, true});
  }
  return list;
}

}  // namespace bvq
