#pragma once
// The working state beside an open project: whether it has unsaved edits, whether a load or
// save runs, and what the last build of this run left. None of it is saved with the project
// or compared with it. The session follows the project it is made for: every edit
// (Project::MarkModified) marks it modified and the last build out of date.
#include <string>

#include "project/project.h"

namespace bvq {

class ProjectSession {
 public:
  explicit ProjectSession(Project& project);
  ~ProjectSession();
  ProjectSession(const ProjectSession&) = delete;
  ProjectSession& operator=(const ProjectSession&) = delete;

  bool modified = false;          // set by every edit; cleared by new, load, save
  bool busy = false;              // a load or save runs: project actions do nothing
  bool buildCurrent = false;      // set by a successful build; cleared by every edit
  std::string lastSetupSizeText;  // setup size text of the last build in this run
  int lastVolumeIndex = 0;        // last volume index of the last build in this run
  std::string passwordMixedCase;  // the password as typed before passwordUpperCase was set

  // The state of a new project: unmodified, nothing built, nothing remembered (`busy` is
  // left to the load or save that set it).
  void Reset();

 private:
  Project& project_;
  int listenerId_ = 0;
};

}  // namespace bvq
