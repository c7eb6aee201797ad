#include "project/registry_entries.h"

#include <algorithm>

#include "project/registry_names.h"
#include "util/paths.h"

namespace bvq {
namespace {

template <std::size_t N>
std::string NameAt(const std::array<std::string_view, N>& names, int index) {
  return std::string(names[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(N) - 1))]);
}

template <std::size_t N>
int IndexOr(const std::array<std::string_view, N>& names, const std::string& text, int fallback) {
  const int index = RegistryNameIndex(names, text);
  return index < 0 ? fallback : index;
}

RegFilesImport ImportFiles(Project& project, EntryList& list, const std::vector<std::string>& files,
                           const RegImportOptions& options) {
  RegFilesImport total;
  for (const std::string& file : files) {
    const RegImportResult r = ImportRegFile(file, list, options);
    total.RowsAdded += r.RowsAdded;
    if (r.Status == RegImportStatus::Unreadable)
      total.Problems.push_back(ExtractFileName(file) + ": the file cannot be read");
    else if (r.Status == RegImportStatus::BadDword)
      total.Problems.push_back(ExtractFileName(file) + ": line " + std::to_string(r.StopLine) +
                               " holds a dword value that is not a 32-bit hexadecimal number");
  }
  project.MarkModified();
  return total;
}

}  // namespace

RegistryValueFields ShowRegistryValueEntry(const Project& project, const EntryPlace& place) {
  RegistryValueFields f;
  f.UninstallEnabled = project.makeUninstaller;
  if (const EntryRow* row = EditedRow(project.registryValues, place)) {
    if (const int root = RegistryRootIndex(row->Caption); root >= 0) f.RootKey = root;
    f.SubKey = row->Cell(1);
    f.ValueName = row->Cell(2);
    f.Type = IndexOr(kRegistryValueTypes, row->Cell(3), f.Type);
    f.Data = row->Cell(4);
    f.Overwrite = IsYesCell(row->Cell(5));
    f.Uninstall = IsYesCell(row->Cell(6));
    f.ImportVisible = false;
  } else if (!project.makeUninstaller) {
    f.Uninstall = false;
  }
  return f;
}

RegistryDeletionFields ShowRegistryDeletionEntry(const Project& project, const EntryPlace& place) {
  RegistryDeletionFields f;
  if (const EntryRow* row = EditedRow(project.uninstallRegistryDeletions, place)) {
    if (const int root = RegistryRootIndex(row->Caption); root >= 0) f.RootKey = root;
    f.SubKey = row->Cell(1);
    f.ValueName = row->Cell(2);
  }
  return f;
}

EntryOutcome ApplyRegistryValueEntry(Project& project, const EntryPlace& place, const RegistryValueFields& fields) {
  if (fields.SubKey.empty()) return EntryOutcome::FocusOn("LabeledEdit1");
  EntryRow row{NameAt(kRegistryRootNames, fields.RootKey),
               {fields.SubKey, fields.ValueName, NameAt(kRegistryValueTypes, fields.Type), fields.Data,
                YesNoCell(fields.Overwrite), YesNoCell(fields.Uninstall)}};
  return WriteEntryRows(project, project.registryValues, place, {std::move(row)});
}

EntryOutcome ApplyRegistryDeletionEntry(Project& project, const EntryPlace& place,
                                        const RegistryDeletionFields& fields) {
  if (fields.SubKey.empty()) return EntryOutcome::FocusOn("LabeledEdit1");
  EntryRow row{NameAt(kRegistryRootNames, fields.RootKey), {fields.SubKey, fields.ValueName}};
  return WriteEntryRows(project, project.uninstallRegistryDeletions, place, {std::move(row)});
}

RegFilesImport ImportRegistryValueFiles(Project& project, const std::vector<std::string>& files,
                                        const RegistryValueFields& fields) {
  RegImportOptions options;
  options.Target = RegImportTarget::Values;
  options.OverwriteCell = YesNoCell(fields.Overwrite);
  options.UninstallCell = YesNoCell(fields.Uninstall);
  return ImportFiles(project, project.registryValues, files, options);
}

RegFilesImport ImportRegistryDeletionFiles(Project& project, const std::vector<std::string>& files) {
  RegImportOptions options;
  options.Target = RegImportTarget::Deletions;
  return ImportFiles(project, project.uninstallRegistryDeletions, files, options);
}

}  // namespace bvq
