#include "project/file_entries.h"

#include <algorithm>

#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "util/code_page.h"
#include "util/files.h"
#include "util/paths.h"

namespace bvq {

namespace {

// The text with a "\" appended unless it already ends with a separator; an empty text
// becomes "\".
std::string WithTrailingBackslash(std::string text) {
  if (text.empty() || !IsPathSeparator(text.back())) text += '\\';
  return text;
}

std::string InstallPathFolder() { return std::string(kInstallPathVariable) + "\\"; }

EntryRow FileRow(std::string source, std::string destination, int ifExists, bool uninstall) {
  return EntryRow{std::move(source), {std::move(destination), IfExistsText(ifExists), YesNoCell(uninstall)}};
}

// Items for the import lists: every file and empty sub-folder below `folder`, targets
// relative to `baseFolder`.
FileHandOver ListImportItems(const std::string& folder, const std::string& baseFolder) {
  FileHandOver items;
  TStrList listed;
  ListFolderFiles(listed, folder, false, true);
  for (const std::string& path : listed) {
    // Names on disk are UTF-8; the model holds text in the project's code page.
    items.ImportSources.push_back(DirectoryExists(path) ? InterfaceString(kTextEmptyFolder) : Utf8ToAnsi(path));
    items.ImportTargets.push_back(Utf8ToAnsi(TargetRelativePath(RebasePath(baseFolder, path, ""))));
  }
  return items;
}

void AppendAll(TStrList& to, const TStrList& from) { to.insert(to.end(), from.begin(), from.end()); }

}  // namespace

std::vector<std::string> IfExistsItems() {
  std::vector<std::string> items;
  for (int i = 0; i < 5; ++i) items.push_back(InterfaceString(kTextIfExistsAsk + i));
  return items;
}

std::string IfExistsText(int index) {
  if (index < 0 || index >= 5) index = kDefaultIfExistsItem;
  return InterfaceString(kTextIfExistsAsk + index);
}

std::string TargetRelativePath(std::string_view relative) {
  std::string target(relative);
  std::replace(target.begin(), target.end(), '/', '\\');
  return target;
}

// --- File entry dialog ---

const std::string& FileDestinationLabel(const std::string& source) {
  return InterfaceString(source.find('|') != std::string::npos ? kTextDestinationFolder : kTextDestinationPath);
}

FileEntryFields ShowFileEntry(const Project& project, const EntryPlace& place, FileHandOver& handOver) {
  FileEntryFields fields;
  if (place.Mode == EntryMode::Add) {
    fields.Uninstall = project.makeUninstaller;
  } else if (const EntryRow* edited = EditedRow(project.files, place)) {
    const EntryRow& row = *edited;
    fields.Source = row.Caption == InterfaceString(kTextEmptyFolder) ? std::string() : row.Caption;
    fields.Destination = row.Cell(1);
    // A text matching no item (normally prevented by re-translating the cells) shows the
    // default item, so OK writes a valid choice.
    fields.IfExists = FindItem(IfExistsItems(), row.Cell(2), kDefaultIfExistsItem);
    fields.Uninstall = IsYesCell(row.Cell(3));
  }
  fields.UninstallEnabled = project.makeUninstaller;
  if (!handOver.PresetSource.empty() || !handOver.PresetTarget.empty()) {
    fields.Source = handOver.PresetSource;
    fields.Destination = handOver.PresetTarget;
  }
  handOver.PresetSource.clear();
  handOver.PresetTarget.clear();
  return fields;
}

bool BrowsedSources(FileEntryFields& fields, const TStrList& picked) {
  if (picked.empty()) return false;
  if (picked.size() == 1) {
    fields.Source = picked.front();
    if (!fields.Destination.empty()) return false;
    fields.Destination = InstallPathFolder() + ExtractFileName(picked.front());
    return true;
  }
  std::string joined;
  for (const std::string& path : picked) joined += (joined.empty() ? "" : "|") + path;
  fields.Source = joined;
  const std::string present = RemoveWildcards(fields.Destination);
  fields.Destination = present.empty() ? InstallPathFolder() : WithTrailingBackslash(ExtractFilePath(present));
  return false;
}

EntryOutcome ApplyFileEntry(Project& project, const EntryPlace& place, const FileEntryFields& fields) {
  const std::string typed = RemoveWildcards(fields.Destination);
  const std::string& sourceText = fields.Source;
  const std::string source = sourceText.empty() ? InterfaceString(kTextEmptyFolder) : sourceText;
  std::vector<EntryRow> rows;

  if (place.Mode == EntryMode::Add && source.find('|') != std::string::npos) {
    // Several files into one folder: each keeps its own name.
    const std::string folder = typed.empty() ? InstallPathFolder() : WithTrailingBackslash(typed);
    for (const std::string& part : SplitText("|", source)) {
      if (part.empty()) continue;  // "a||b" or a trailing "|": no entry without a source
      rows.push_back(FileRow(part, folder + ExtractFileName(part), fields.IfExists, fields.Uninstall));
    }
    if (rows.empty()) return EntryOutcome::FocusOn("LabeledEdit1");
  } else {
    std::string destination = typed.empty() ? std::string(kInstallPathVariable) : typed;
    // A destination naming a folder (no "." in its last component) receives the file's name,
    // unless it already ends with that very name (a file without extension).
    const std::string sourceName = ExtractFileName(sourceText);
    if (ExtractFileName(destination).find('.') == std::string::npos && !sourceText.empty() &&
        sourceName != ExtractFileName(fields.Destination))
      destination = WithTrailingBackslash(destination) + sourceName;
    rows.push_back(FileRow(source, destination, fields.IfExists, fields.Uninstall));
  }
  return WriteEntryRows(project, project.files, place, std::move(rows));
}

// --- Add folder and folder import dialog ---

std::size_t AppendFolderImportItems(FileHandOver& handOver, const std::string& folder,
                                    const std::string& baseFolder) {
  FileHandOver items = ListImportItems(folder, baseFolder);
  AppendAll(handOver.ImportSources, items.ImportSources);
  AppendAll(handOver.ImportTargets, items.ImportTargets);
  return items.ImportSources.size();
}

bool PrepareFolderImport(const std::string& folder, FileHandOver& handOver) {
  FileHandOver items = ListImportItems(folder, folder);
  if (items.ImportSources.empty()) return false;
  handOver.ImportSources = std::move(items.ImportSources);
  handOver.ImportTargets = std::move(items.ImportTargets);
  return true;
}

FolderImportFields ShowFolderImport(const Project& project) {
  FolderImportFields fields;
  fields.Uninstall = project.makeUninstaller;
  fields.UninstallEnabled = project.makeUninstaller;
  return fields;
}

TStrList FolderImportRows(const FileHandOver& handOver, const std::string& destinationFolder) {
  const std::string folder = WithTrailingBackslash(destinationFolder);
  TStrList rows;
  for (const std::string& target : handOver.ImportTargets) rows.push_back(folder + target);
  return rows;
}

std::size_t ApplyFolderImport(Project& project, FileHandOver& handOver, const FolderImportFields& fields) {
  const TStrList destinations = FolderImportRows(handOver, fields.Destination);
  const std::size_t count = std::min(handOver.ImportSources.size(), destinations.size());
  for (std::size_t i = 0; i < count; ++i)
    project.files.Append(FileRow(handOver.ImportSources[i], destinations[i], fields.IfExists, fields.Uninstall));
  handOver.ImportSources.clear();
  handOver.ImportTargets.clear();
  return count;
}

// --- Project-file picker ---

TStrList ProjectFileChoices(const Project& project) {
  TStrList choices;
  for (const EntryRow& row : project.files.Rows) choices.push_back(row.Cell(1));
  return choices;
}

ProjectFilePick PickProjectFiles(const TStrList& choices, const std::vector<int>& selectedRows,
                                 bool allowMultipleSelection) {
  std::vector<int> rows;
  for (int row : selectedRows)
    if (row >= 0 && static_cast<std::size_t>(row) < choices.size()) rows.push_back(row);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

  ProjectFilePick pick;
  if (rows.empty()) return pick;
  if (allowMultipleSelection) {
    for (int row : rows) pick.SelectedProjectFiles.push_back(choices[static_cast<std::size_t>(row)]);
  } else {
    pick.SelectedProjectFile = choices[static_cast<std::size_t>(rows.front())];
  }
  return pick;
}

}  // namespace bvq
