#include "project/project_rules.h"

#include "project/interface_strings.h"
#include "project/language_cells.h"
#include "project/project_paths.h"
#include "project/slot_table.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq {

namespace {

bool HasBmpOrPngExtension(const std::string& path) {
  const std::string ext = ToLowerAscii(ExtractFileExt(NativePath(path)));
  return ext == ".bmp" || ext == ".png";
}

// Step 2 of normalisation: a header or logo picture in another format becomes a bitmap.
void ImportPictureIfNeeded(Project& project, std::string& field, const ProjectContext& context) {
  if (!context.ImportPicture || !ProjectFileExists(project, field) || HasBmpOrPngExtension(field)) return;
  std::string converted = context.ImportPicture(ResolveProjectPath(project, field));
  if (!converted.empty()) field = std::move(converted);
}

}  // namespace

void NormalizeProject(Project& project, const ProjectContext& context) {
  // 1. Trim the texts the slot table marks.
  for (const SlotInfo& slot : SlotTable()) {
    if (!slot.Trim) continue;
    const std::string value = slot.Get(project);
    const std::string trimmed = TrimBlanks(value);
    if (trimmed != value) slot.Set(project, trimmed);
  }
  // 2. Pictures that are neither BMP nor PNG.
  ImportPictureIfNeeded(project, project.LabeledEdit14, context);
  ImportPictureIfNeeded(project, project.LabeledEdit15, context);
  // 3. Options whose text is empty.
  if (project.Edit2.empty()) project.CheckBox7 = false;
  if (project.Edit3.empty()) project.CheckBox8 = false;
  if (project.LabeledEdit8.empty()) project.CheckBox36 = false;
  if (project.LabeledEdit7.empty()) project.CheckBox17 = false;
  // 4. The setup file is a program.
  if (!project.LabeledEdit5.empty() && ToLowerAscii(LastFourChars(project.LabeledEdit5)) != ".exe")
    project.LabeledEdit5 += ".exe";
  // 5. Splitting by a given size of 0 means one file.
  if (project.ComboBox4 == 4 && project.UpDown1 == 0) project.ComboBox4 = 0;
}

void EnsureInstallLanguage(Project& project, const std::string& interfaceLanguage) {
  for (const auto& item : project.LanguageListView)
    if (item.Checked) return;
  int index = project.FindLanguage(interfaceLanguage);
  if (index < 0) index = project.FindLanguage("English");
  if (index >= 0) project.SetLanguageChecked(static_cast<std::size_t>(index), true);
}

void EnsureSupportedSystem(Project& project) {
  for (const auto& item : project.VersionsListView)
    if (item.Checked) return;
  for (auto& item : project.VersionsListView) item.Checked = true;
}

void RetranslateCellsBetween(Project& project, const InterfaceStringTable& oldStrings,
                             const InterfaceStringTable& newStrings) {
  RetranslateCells(oldStrings, newStrings,
                   [&](int list, int column, const std::function<void(std::string&)>& rewrite) {
                     EntryList& rows = project.EntryListAt(list);
                     for (EntryRow& row : rows.Rows) {
                       if (column > 0 && static_cast<std::size_t>(column) > row.SubItems.size()) continue;
                       rewrite(row.CellRef(column));
                     }
                   });
}

void RetranslateProjectCells(Project& project, const ProjectContext& context) {
  if (project.ProjectLanguage == context.InterfaceLanguage) return;
  if (!project.ProjectLanguage.empty()) {
    const auto oldStrings = OldLanguageStrings(context, project.ProjectLanguage);
    if (!oldStrings) return;
    RetranslateCellsBetween(project, *oldStrings, InterfaceStrings());
  }
  // The cells are now in the current language.
  project.ProjectLanguage = context.InterfaceLanguage;
}

namespace {

ValidationIssue Issue(int check, const char* page, int tab, const char* control, int message) {
  ValidationIssue issue;
  issue.Check = check;
  issue.Page = page;
  issue.Tab = tab;
  issue.Control = control;
  issue.Message = message;
  return issue;
}

// Empty, longer than 255 characters, or holding a character not allowed in a name.
int NameProblem(const std::string& text) {
  if (text.empty()) return 223;
  if (text.size() > 255) return 224;
  if (!IsValidFileName(text)) return 225;
  return 0;
}

}  // namespace

std::optional<ValidationIssue> ValidateProject(Project& project, const ProjectContext& context,
                                               const MissingSourceQuestion& askContinue) {
  NormalizeProject(project, context);
  RetranslateProjectCells(project, context);
  EnsureInstallLanguage(project, context.InterfaceLanguage);
  EnsureSupportedSystem(project);

  const Project& p = project;
  struct NameCheck {
    int check;
    const std::string* text;
    const char* control;
  };
  // 1..3: product name, version, company.
  for (const NameCheck& c : {NameCheck{1, &p.LabeledEdit2, "LabeledEdit2"}, NameCheck{2, &p.LabeledEdit29, "LabeledEdit29"},
                             NameCheck{3, &p.LabeledEdit4, "LabeledEdit4"}}) {
    if (int message = NameProblem(*c.text)) return Issue(c.check, "Page1", -1, c.control, message);
  }
  // 4: setup file.
  if (p.LabeledEdit5.empty()) return Issue(4, "Page1", -1, "LabeledEdit5", 223);
  if (!IsValidPathText(p.LabeledEdit5)) return Issue(4, "Page1", -1, "LabeledEdit5", 226);
  // 5: volume name pattern, when the setup is split.
  if (p.ComboBox4 >= 1) {
    if (int message = NameProblem(p.LabeledEdit25)) return Issue(5, "Page1", -1, "LabeledEdit25", message);
  }
  // 6: files to install.
  if (p.ListView3.empty()) return Issue(6, "Page2", -1, "ListView3", 227);
  // 7..9: pictures of the background, header and logo.
  if (p.CheckBox1 && p.RadioButton8() && p.LabeledEdit27.empty()) return Issue(7, "Page5", 0, "LabeledEdit27", 223);
  if (p.CheckBox26 && p.LabeledEdit14.empty()) return Issue(8, "Page5", 1, "LabeledEdit14", 223);
  if (p.CheckBox40 && p.LabeledEdit15.empty()) return Issue(9, "Page5", 2, "LabeledEdit15", 223);
  // 10: uninstaller names.
  if (p.CheckBox11) {
    if (p.LabeledEdit10.empty()) return Issue(10, "Page13", -1, "LabeledEdit10", 223);
    if (p.LabeledEdit22.empty()) return Issue(10, "Page13", -1, "LabeledEdit22", 223);
  }
  // 11: install folder path (Page4, General tab).
  if (p.LabeledEdit12.empty()) return Issue(11, "Page4", 0, "LabeledEdit12", 223);
  if (!IsValidPathText(p.LabeledEdit12)) return Issue(11, "Page4", 0, "LabeledEdit12", 226);
  // 12: program group name.
  if (!IsValidPathText(p.LabeledEdit13)) return Issue(12, "Page6", -1, "LabeledEdit13", 226);
  // 13, 14: icons.
  if (p.LabeledEdit11.empty()) return Issue(13, "Page5", 4, "LabeledEdit11", 223);
  if (!IsValidPathText(p.LabeledEdit11)) return Issue(13, "Page5", 4, "LabeledEdit11", 226);
  if (p.LabeledEdit17.empty()) return Issue(14, "Page5", 4, "LabeledEdit17", 223);
  if (!IsValidPathText(p.LabeledEdit17)) return Issue(14, "Page5", 4, "LabeledEdit17", 226);
  // 15: source files that do not exist; the caller decides whether to go on.
  const std::string& noSource = InterfaceString(26);
  for (std::size_t row = 0; row < p.ListView3.size(); ++row) {
    const std::string& source = p.ListView3[row].Caption;
    if (source == noSource || ProjectFileExists(p, source)) continue;
    if (askContinue && askContinue(source, row)) continue;
    ValidationIssue issue = Issue(15, "Page2", -1, "ListView3", 112);
    issue.Row = static_cast<long>(row);
    issue.Path = source;
    return issue;
  }
  return std::nullopt;
}

std::string ValidationMessageText(const ValidationIssue& issue) {
  if (issue.Message == 112) return InterfaceString(112) + issue.Path + InterfaceString(113);
  return InterfaceString(issue.Message);
}

}  // namespace bvq
