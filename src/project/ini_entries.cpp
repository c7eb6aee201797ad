#include "project/ini_entries.h"

#include "util/files.h"
#include "util/paths.h"

namespace bvq {

IniFields ShowIniEntry(const Project& project, const EntryPlace& place) {
  IniFields f;
  f.UninstallEnabled = project.makeUninstaller;
  if (const EntryRow* row = EditedRow(project.iniEntries, place)) {
    f.File = row->Caption;
    f.Section = row->Cell(1);
    f.Key = row->Cell(2);
    f.Value = row->Cell(3);
    f.Overwrite = IsYesCell(row->Cell(4));
    f.Uninstall = IsYesCell(row->Cell(5));
    f.ImportVisible = false;
  } else if (!project.makeUninstaller) {
    f.Uninstall = false;
  }
  return f;
}

EntryOutcome ApplyIniEntry(Project& project, const EntryPlace& place, const IniFields& fields) {
  if (fields.File.empty()) return EntryOutcome::FocusOn("LabeledEdit3");
  if (fields.Section.empty()) return EntryOutcome::FocusOn("LabeledEdit1");
  if (fields.Key.empty()) return EntryOutcome::FocusOn("LabeledEdit2");
  EntryRow row{MakeInstallPath(RemoveWildcards(fields.File)),
               {fields.Section, fields.Key, fields.Value, YesNoCell(fields.Overwrite), YesNoCell(fields.Uninstall)}};
  return WriteEntryRows(project, project.iniEntries, place, {std::move(row)});
}

IniFilesImport ImportIniFiles(Project& project, const std::vector<std::string>& files, const IniFields& fields) {
  IniFilesImport result;
  std::string section;
  for (const std::string& file : files) {
    const std::optional<std::string> bytes = ReadFileBytes(file);
    if (!bytes) {
      result.Unreadable.push_back(file);
      continue;
    }
    const std::string iniFile = fields.File.empty() ? "%InstallPath%\\" + ExtractFileName(file) : fields.File;
    std::string_view text = *bytes;
    while (!text.empty()) {
      const std::size_t end = text.find_first_of("\r\n");
      std::string_view line = text.substr(0, end);
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
        section = std::string(line.substr(1, line.size() - 2));
      } else if (const std::size_t eq = line.find('='); eq != std::string_view::npos) {
        project.iniEntries.AppendCells({iniFile, section, std::string(line.substr(0, eq)),
                                       std::string(line.substr(eq + 1)), YesNoCell(fields.Overwrite),
                                       YesNoCell(fields.Uninstall)});
        ++result.RowsAdded;
      }
    }
  }
  project.MarkModified();
  return result;
}

}  // namespace bvq
