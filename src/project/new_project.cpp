#include "project/new_project.h"

#include "project/slot_table.h"

namespace bvq {

void NewProject(Project& project, const ProjectContext& context) {
  for (int list = 1; list <= kEntryListCount; ++list) project.EntryListAt(list).clear();
  if (project.VersionsListView.size() < kSystemCaptions.size()) {
    project.VersionsListView.clear();
    for (const char* caption : kSystemCaptions) project.VersionsListView.push_back({caption, false});
  }
  // Every slot: texts, check boxes, combo boxes, fonts, colours, preview positions, the
  // interface language as install language, all systems, empty licence/information files.
  ApplySlotDefaults(project, context);
  project.LicenseComboIndex = 0;
  project.InfoComboIndex = 0;
  project.PasswordMixedCase.clear();
  project.LastSetupSizeText.clear();
  project.LastVolumeIndex = 0;
  project.BuildCurrent = false;
  project.ProjectFileName.clear();
  project.ProjectLanguage = context.InterfaceLanguage;
  project.ProjectModified = false;
  project.Notify(ProjectChange::Replaced);
}

}  // namespace bvq
