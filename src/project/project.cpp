#include "project/project.h"

#include <algorithm>
#include <array>

#include "project/interface_strings.h"
#include "project/interface_text_ids.h"

namespace bvq {

// --- EntryRow / EntryList ---

const std::string& EntryRow::Cell(int column) const {
  static const std::string empty;
  if (column == 0) return Caption;
  if (column < 1 || static_cast<std::size_t>(column - 1) >= SubItems.size()) return empty;
  return SubItems[column - 1];
}

std::string& EntryRow::CellRef(int column) {
  if (column <= 0) return Caption;
  if (SubItems.size() < static_cast<std::size_t>(column)) SubItems.resize(column);
  return SubItems[column - 1];
}

namespace {
void Shape(EntryRow& row, int columnCount) {
  row.SubItems.resize(columnCount > 1 ? columnCount - 1 : 0);
}
}  // namespace

std::size_t EntryList::Append(EntryRow row) {
  Shape(row, columnCount_);
  Rows.push_back(std::move(row));
  return Rows.size() - 1;
}

std::size_t EntryList::AppendCells(std::vector<std::string> cells) {
  EntryRow row;
  if (!cells.empty()) {
    row.Caption = std::move(cells.front());
    row.SubItems.assign(std::make_move_iterator(cells.begin() + 1), std::make_move_iterator(cells.end()));
  }
  return Append(std::move(row));
}

void EntryList::Replace(std::size_t index, EntryRow row) {
  Shape(row, columnCount_);
  Rows.at(index) = std::move(row);
}

// --- ProjectListeners ---

int ProjectListeners::Add(Listener listener) {
  const int id = nextId_++;
  listeners_.emplace_back(id, std::move(listener));
  return id;
}

void ProjectListeners::Remove(int id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void ProjectListeners::Notify(ProjectChange change) const {
  // A listener may remove itself: call a snapshot.
  const auto snapshot = listeners_;
  for (const auto& entry : snapshot) entry.second(change);
}

// --- Project ---

Project::Project() {
  for (const char* caption : kSystemCaptions) supportedSystems.push_back({caption, false});
  licenseFiles.assign(1, std::string());
  infoFiles.assign(1, std::string());
}

namespace {
using ListMember = EntryList Project::*;
constexpr std::array<ListMember, kEntryListCount> kListMembers = {
    &Project::shortcuts, &Project::registryValues, &Project::files, &Project::installCommands,
    &Project::iniEntries, &Project::uninstallCommands, &Project::uninstallDeletions, &Project::activeXFiles,
    &Project::uninstallRegistryDeletions, &Project::registryVariables, &Project::fonts};
}  // namespace

EntryList& Project::EntryListAt(int number) { return this->*kListMembers.at(number - 1); }
const EntryList& Project::EntryListAt(int number) const { return this->*kListMembers.at(number - 1); }

std::size_t Project::EntryCount() const {
  std::size_t total = 0;
  for (ListMember list : kListMembers) total += (this->*list).size();
  return total;
}

void Project::SetInstallLanguages(const std::vector<std::string>& captions) {
  installLanguages.clear();
  for (const auto& caption : captions) installLanguages.push_back({caption, false});
  licenseFiles.assign(1, std::string());
  infoFiles.assign(1, std::string());
  licenseFileIndex = 0;
  infoFileIndex = 0;
}

void Project::SetLanguageChecked(std::size_t index, bool checked) {
  if (index >= installLanguages.size() || installLanguages[index].Checked == checked) return;
  // Position among the checked languages, plus one for the shared entry 0.
  std::size_t position = 1;
  for (std::size_t i = 0; i < index; ++i)
    if (installLanguages[i].Checked) ++position;
  installLanguages[index].Checked = checked;
  for (auto* list : {&licenseFiles, &infoFiles}) {
    if (list->empty()) list->emplace_back();
    if (checked) {
      list->insert(list->begin() + static_cast<long>(std::min(position, list->size())), std::string());
    } else if (position < list->size()) {
      list->erase(list->begin() + static_cast<long>(position));
    }
  }
  licenseFileIndex = 0;
  infoFileIndex = 0;
  Notify(ProjectChange::Languages);
}

int Project::FindLanguage(const std::string& name) const {
  for (std::size_t i = 0; i < installLanguages.size(); ++i)
    if (LanguageNameOfCaption(installLanguages[i].Caption) == name) return static_cast<int>(i);
  return -1;
}

std::vector<std::string> Project::CheckedLanguageCaptions() const {
  std::vector<std::string> captions;
  for (const auto& item : installLanguages)
    if (item.Checked) captions.push_back(item.Caption);
  return captions;
}

std::vector<std::string> Project::LanguageFileCaptions() const {
  std::vector<std::string> items{InterfaceString(kTextAllLanguages)};
  for (auto& caption : CheckedLanguageCaptions()) items.push_back(std::move(caption));
  return items;
}

namespace {
std::string EntryOf(const std::vector<std::string>& list, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return {};
  return list[index];
}
void StoreEntry(std::vector<std::string>& list, int index, const std::string& path) {
  if (index < 0) return;
  if (list.size() <= static_cast<std::size_t>(index)) list.resize(index + 1);
  list[index] = path;
}
}  // namespace

std::string Project::SelectedLicenseFile() const { return EntryOf(licenseFiles, licenseFileIndex); }
std::string Project::SelectedInfoFile() const { return EntryOf(infoFiles, infoFileIndex); }
void Project::SetSelectedLicenseFile(const std::string& path) { StoreEntry(licenseFiles, licenseFileIndex, path); }
void Project::SetSelectedInfoFile(const std::string& path) { StoreEntry(infoFiles, infoFileIndex, path); }

void Project::MarkModified() { Notify(ProjectChange::Modified); }

std::string LanguageNameOfCaption(const std::string& caption) {
  const auto pos = caption.find(" (");
  return pos == std::string::npos ? caption : caption.substr(0, pos);
}

}  // namespace bvq
