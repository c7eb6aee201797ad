#include "project/dropped_files.h"

#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "util/code_page.h"
#include "util/files.h"
#include "util/paths.h"

namespace bvq {

namespace {

// Dropped paths are names on disk (UTF-8); what goes into the model is text in the project's
// code page.
std::string InstallPathTarget(const std::string& name) {
  return std::string(kInstallPathVariable) + "\\" + Utf8ToAnsi(name);
}

// Every item of a drop goes into the import lists.
DropDecision BulkImport(const TStrList& paths, FileHandOver& handOver) {
  handOver.ImportSources.clear();
  handOver.ImportTargets.clear();
  for (const std::string& dropped : paths) {
    const std::string path = ExcludeTrailingSeparator(dropped);
    const std::string name = ExtractFileName(path);
    if (FileExists(path)) {
      handOver.ImportSources.push_back(Utf8ToAnsi(path));
      handOver.ImportTargets.push_back(Utf8ToAnsi(name));
    } else if (DirectoryExists(path)) {
      if (AppendFolderImportItems(handOver, path, ExtractFilePath(path)) == 0) {
        handOver.ImportSources.push_back(InterfaceString(kTextEmptyFolder));
        handOver.ImportTargets.push_back(Utf8ToAnsi(name));
      }
    }
    // Anything else (gone since the drop, a device or pipe) has nothing to install.
  }
  return {handOver.ImportSources.empty() ? DropDecision::None : DropDecision::OpenFolderImport};
}

}  // namespace

DropDecision HandleDroppedFiles(const TStrList& paths, FileHandOver& handOver) {
  if (paths.size() != 1) return paths.empty() ? DropDecision{} : BulkImport(paths, handOver);

  const std::string path = ExcludeTrailingSeparator(paths.front());
  if (FileExists(path)) {
    handOver.PresetSource = Utf8ToAnsi(path);
    handOver.PresetTarget = InstallPathTarget(ExtractFileName(path));
    return {DropDecision::OpenFileEntry};
  }
  if (!DirectoryExists(path)) return {};
  if (FolderHasEntries(path)) return BulkImport(paths, handOver);
  handOver.PresetSource.clear();
  handOver.PresetTarget = InstallPathTarget(ExtractFileName(path));
  return {DropDecision::OpenFileEntry};
}

}  // namespace bvq
