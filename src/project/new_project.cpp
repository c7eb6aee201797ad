#include "project/new_project.h"

#include "project/slot_table.h"

namespace bvq {

void NewProject(Project& project, ProjectSession& session, const ProjectContext& context) {
  for (int list = 1; list <= kEntryListCount; ++list) project.EntryListAt(list).clear();
  if (project.supportedSystems.size() < kSystemCaptions.size()) {
    project.supportedSystems.clear();
    for (const char* caption : kSystemCaptions) project.supportedSystems.push_back({caption, false});
  }
  // Every slot: texts, check boxes, combo boxes, fonts, colours, preview positions, the
  // interface language as install language, all systems, empty licence/information files.
  ApplySlotDefaults(project, context);
  project.licenseFileIndex = 0;
  project.infoFileIndex = 0;
  project.filePath.clear();
  project.cellLanguage = context.InterfaceLanguage;
  session.Reset();
  project.Notify(ProjectChange::Replaced);
}

}  // namespace bvq
