#include "build/language_side_files.h"

#include "project/project_paths.h"

namespace bvq {

std::vector<BuildLanguage> BuildLanguages(const Project& project) {
  std::vector<BuildLanguage> languages;
  int nextLicense = kFirstLicenseSideFile, nextInfo = kFirstInfoSideFile;
  size_t entry = 0;  // entry i >= 1 of the file lists belongs to the i-th checked language
  for (const CheckItem& item : project.LanguageListView) {
    if (!item.Checked) continue;
    ++entry;
    BuildLanguage lang;
    lang.caption = item.Caption;
    lang.name = LanguageNameOfCaption(item.Caption);
    if (project.CheckBox4 && entry < project.LicenseFileList.size() &&
        ProjectFileExists(project, project.LicenseFileList[entry])) {
      lang.licenseFile = ResolveProjectPath(project, project.LicenseFileList[entry]);
      lang.licenseNumber = nextLicense++;
    }
    if (project.CheckBox15 && entry < project.InfoFileList.size() &&
        ProjectFileExists(project, project.InfoFileList[entry])) {
      lang.infoFile = ResolveProjectPath(project, project.InfoFileList[entry]);
      lang.infoNumber = nextInfo++;
    }
    languages.push_back(std::move(lang));
  }
  return languages;
}

}  // namespace bvq
