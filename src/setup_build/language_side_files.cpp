#include "setup_build/language_side_files.h"

#include "project/project_paths.h"

namespace bvq {

std::vector<BuildLanguage> BuildLanguages(const Project& project) {
  std::vector<BuildLanguage> languages;
  int nextLicense = kFirstLicenseSideFile, nextInfo = kFirstInfoSideFile;
  size_t entry = 0;  // entry i >= 1 of the file lists belongs to the i-th checked language
  for (const CheckItem& item : project.installLanguages) {
    if (!item.Checked) continue;
    ++entry;
    BuildLanguage lang;
    lang.caption = item.Caption;
    lang.name = LanguageNameOfCaption(item.Caption);
    if (project.showLicense && entry < project.licenseFiles.size() &&
        ProjectFileExists(project, project.licenseFiles[entry])) {
      lang.licenseFile = ResolveProjectPath(project, project.licenseFiles[entry]);
      lang.licenseNumber = nextLicense++;
    }
    if (project.showInformation && entry < project.infoFiles.size() &&
        ProjectFileExists(project, project.infoFiles[entry])) {
      lang.infoFile = ResolveProjectPath(project, project.infoFiles[entry]);
      lang.infoNumber = nextInfo++;
    }
    languages.push_back(std::move(lang));
  }
  return languages;
}

}  // namespace bvq
