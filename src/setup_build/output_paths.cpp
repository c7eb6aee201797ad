#include "setup_build/output_paths.h"

#include <sys/stat.h>

#include "project/project_paths.h"
#include "project/slot_table.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/program_values.h"
#include "util/strings.h"

namespace bvq {
namespace {
// Slots of the setup path and of the volume name pattern.
constexpr int kSetupFileSlot = 25;
constexpr int kVolumeFileNameSlot = 86;
}  // namespace

void BuildInputFiles::Add(const std::string& path, const std::string& what) {
  struct stat st {};
  if (!path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
    files_.push_back({{st.st_dev, st.st_ino}, what + " " + path});
}

void BuildInputFiles::AddStored(const Project& project, std::string_view storedPath, const std::string& what) {
  if (storedPath.empty()) return;
  const ProjectPathReadings readings = ReadProjectPath(project, storedPath);
  // The converted reading wins whenever it names a file or a folder.
  struct stat st {};
  if (!readings.converted.empty() && stat(readings.converted.c_str(), &st) == 0 &&
      (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))) {
    if (S_ISREG(st.st_mode)) files_.push_back({{st.st_dev, st.st_ino}, what + " " + readings.converted});
    return;
  }
  Add(readings.raw, what);
}

void BuildInputFiles::AddFolder(const std::string& folder, const std::string& what) {
  TStrList files;
  ListFolderFiles(files, folder, false, false);
  for (const std::string& file : files) Add(file, what);
}

std::string BuildInputFiles::Refusal(const std::string& output) const {
  struct stat st {};
  if (stat(output.c_str(), &st) != 0) return {};
  if (S_ISDIR(st.st_mode)) return "it is a folder";
  if (!S_ISREG(st.st_mode)) return "it is not a regular file (a device, FIFO or socket)";
  for (const auto& [id, what] : files_)
    if (id.first == st.st_dev && id.second == st.st_ino) return "it is the " + what;
  return {};
}

BuildInputFiles CollectBuildInputs(const Project& project, const std::vector<std::string>& sources) {
  BuildInputFiles inputs;
  inputs.Add(NativePath(project.filePath), "project file");
  for (const std::string& source : sources) inputs.Add(source, "source file");
  // Settings that name files; the setup path and the volume name are outputs, not inputs.
  for (const SlotInfo& slot : SlotTable()) {
    if (!slot.Get || slot.Number == kSetupFileSlot || slot.Number == kVolumeFileNameSlot) continue;
    if (slot.Kind == SlotKind::Text) {
      inputs.AddStored(project, slot.Get(project), "file the project names");
    } else if (slot.Kind == SlotKind::PackedList) {
      for (const std::string& line : UnpackLines(slot.Get(project)))
        inputs.AddStored(project, line, "file the project names");
    }
  }
  for (int number = 1; number <= kEntryListCount; ++number) {
    const EntryList& list = project.EntryListAt(number);
    for (const EntryRow& row : list.Rows)
      for (int column = 0; column < list.ColumnCount(); ++column)
        inputs.AddStored(project, row.Cell(column), "file an entry names");
  }
  // The program folder's content (stubs, side files, languages, icons, pictures); other files
  // there, such as setups an author chose to write beside the program, are not inputs.
  for (const char* folder : {"Data/", "Language/", "Icons/", "Bitmaps/"})
    inputs.AddFolder(ProgramFolder() + folder, "program's own file");
  return inputs;
}

}  // namespace bvq
