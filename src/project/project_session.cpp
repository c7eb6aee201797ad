#include "project/project_session.h"

namespace bvq {

ProjectSession::ProjectSession(Project& project) : project_(project) {
  listenerId_ = project_.Listeners.Add([this](ProjectChange change) {
    if (change != ProjectChange::Modified) return;
    modified = true;
    buildCurrent = false;
  });
}

ProjectSession::~ProjectSession() { project_.Listeners.Remove(listenerId_); }

void ProjectSession::Reset() {
  modified = false;
  buildCurrent = false;
  lastSetupSizeText.clear();
  lastVolumeIndex = 0;
  passwordMixedCase.clear();
}

}  // namespace bvq
