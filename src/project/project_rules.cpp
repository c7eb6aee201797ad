#include "project/project_rules.h"

#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
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
  ImportPictureIfNeeded(project, project.headerPicture, context);
  ImportPictureIfNeeded(project, project.logoPicture, context);
  // 3. Options whose text is empty.
  if (project.runAppFile.empty()) project.offerRunApp = false;
  if (project.readmeFile.empty()) project.offerReadme = false;
  if (project.installerCloseAppText.empty()) project.installerClosesApp = false;
  if (project.finishWebSite.empty()) project.offerWebSite = false;
  // 4. The setup file is a program.
  if (!project.setupFile.empty() && ToLowerAscii(LastFourChars(project.setupFile)) != ".exe")
    project.setupFile += ".exe";
  // 5. Splitting by a given size of 0 means one file.
  if (project.splitting == 4 && project.volumeSize == 0) project.splitting = 0;
}

void EnsureInstallLanguage(Project& project, const std::string& interfaceLanguage) {
  for (const auto& item : project.installLanguages)
    if (item.Checked) return;
  int index = project.FindLanguage(interfaceLanguage);
  if (index < 0) index = project.FindLanguage("English");
  if (index >= 0) project.SetLanguageChecked(static_cast<std::size_t>(index), true);
}

void EnsureSupportedSystem(Project& project) {
  for (const auto& item : project.supportedSystems)
    if (item.Checked) return;
  for (auto& item : project.supportedSystems) item.Checked = true;
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
  if (project.cellLanguage == context.InterfaceLanguage) return;
  if (!project.cellLanguage.empty()) {
    const auto oldStrings = OldLanguageStrings(context, project.cellLanguage);
    if (!oldStrings) return;
    RetranslateCellsBetween(project, *oldStrings, InterfaceStrings());
  }
  // The cells are now in the current language.
  project.cellLanguage = context.InterfaceLanguage;
}

void FollowInterfaceLanguage(Project& project, const ProjectContext& context) {
  RetranslateProjectCells(project, context);
  if (project.filePath.empty()) {
    // The titles a new project starts with, in the new language.
    struct DefaultTitle {
      std::string Project::*member;
      int text;
    };
    for (const DefaultTitle& title : {DefaultTitle{&Project::installerTitle, kTextDefaultInstallerTitle},
                                      DefaultTitle{&Project::backgroundTitle, kTextDefaultBackgroundTitle},
                                      DefaultTitle{&Project::uninstallerTitle, kTextDefaultUninstallerTitle}})
      project.*title.member = InterfaceString(title.text);
  }
  project.Notify(ProjectChange::Rewritten);
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
  if (text.empty()) return kTextFieldEmpty;
  if (text.size() > 255) return kTextTextTooLong;
  if (!IsValidFileName(text)) return kTextNameCharacters;
  return 0;
}

}  // namespace

std::optional<ValidationIssue> ValidateProject(Project& project, const ProjectContext& context,
                                               const MissingSourceQuestion& askContinue) {
  NormalizeProject(project, context);
  RetranslateProjectCells(project, context);
  EnsureInstallLanguage(project, context.InterfaceLanguage);
  EnsureSupportedSystem(project);
  project.Notify(ProjectChange::Rewritten);

  const Project& p = project;
  struct NameCheck {
    int check;
    const std::string* text;
    const char* control;
  };
  // 1..3: product name, version, company.
  for (const NameCheck& c :
       {NameCheck{1, &p.productName, "LabeledEdit2"}, NameCheck{2, &p.productVersion, "LabeledEdit29"},
        NameCheck{3, &p.companyName, "LabeledEdit4"}}) {
    if (int message = NameProblem(*c.text)) return Issue(c.check, "Page1", -1, c.control, message);
  }
  // 4: setup file.
  if (p.setupFile.empty()) return Issue(4, "Page1", -1, "LabeledEdit5", kTextFieldEmpty);
  if (!IsValidPathText(p.setupFile)) return Issue(4, "Page1", -1, "LabeledEdit5", kTextPathCharacters);
  // 5: volume name pattern, when the setup is split.
  if (p.splitting >= 1) {
    if (int message = NameProblem(p.volumeFileName)) return Issue(5, "Page1", -1, "LabeledEdit25", message);
  }
  // 6: files to install.
  if (p.files.empty()) return Issue(6, "Page2", -1, "ListView3", kTextNoFilesToInstall);
  // 7..9: pictures of the background, header and logo.
  if (p.showBackground && p.BackgroundIsPicture() && p.backgroundPicture.empty())
    return Issue(7, "Page5", 0, "LabeledEdit27", kTextFieldEmpty);
  if (p.showHeaderPicture && p.headerPicture.empty()) return Issue(8, "Page5", 1, "LabeledEdit14", kTextFieldEmpty);
  if (p.showLogo && p.logoPicture.empty()) return Issue(9, "Page5", 2, "LabeledEdit15", kTextFieldEmpty);
  // 10: uninstaller names.
  if (p.makeUninstaller) {
    if (p.uninstallName.empty()) return Issue(10, "Page13", -1, "LabeledEdit10", kTextFieldEmpty);
    if (p.uninstallerTitle.empty()) return Issue(10, "Page13", -1, "LabeledEdit22", kTextFieldEmpty);
  }
  // 11: install folder path (Page4, General tab).
  if (p.installFolderPath.empty()) return Issue(11, "Page4", 0, "LabeledEdit12", kTextFieldEmpty);
  if (!IsValidPathText(p.installFolderPath)) return Issue(11, "Page4", 0, "LabeledEdit12", kTextPathCharacters);
  // 12: program group name.
  if (!IsValidPathText(p.programGroup)) return Issue(12, "Page6", -1, "LabeledEdit13", kTextPathCharacters);
  // 13, 14: icons.
  if (p.installerIcon.empty()) return Issue(13, "Page5", 4, "LabeledEdit11", kTextFieldEmpty);
  if (!IsValidPathText(p.installerIcon)) return Issue(13, "Page5", 4, "LabeledEdit11", kTextPathCharacters);
  if (p.uninstallerIcon.empty()) return Issue(14, "Page5", 4, "LabeledEdit17", kTextFieldEmpty);
  if (!IsValidPathText(p.uninstallerIcon)) return Issue(14, "Page5", 4, "LabeledEdit17", kTextPathCharacters);
  // 15: source files that do not exist; the caller decides whether to go on.
  const std::string& noSource = InterfaceString(26);
  for (std::size_t row = 0; row < p.files.size(); ++row) {
    const std::string& source = p.files[row].Caption;
    if (source == noSource || ProjectFileExists(p, source)) continue;
    if (askContinue && askContinue(source, row)) continue;
    ValidationIssue issue = Issue(15, "Page2", -1, "ListView3", kTextSourceFileMissing);
    issue.Row = static_cast<long>(row);
    issue.Path = source;
    return issue;
  }
  return std::nullopt;
}

std::string ValidationMessageText(const ValidationIssue& issue) {
  if (issue.Message == kTextSourceFileMissing)
    return InterfaceString(kTextSourceFileMissing) + issue.Path + InterfaceString(kTextContinueQuestion);
  return InterfaceString(issue.Message);
}

}  // namespace bvq
