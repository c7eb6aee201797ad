#pragma once
// The checks a build makes before it writes anything: pictures (unless the installation is
// silent), the volume name pattern, the installer and uninstaller icons.
#include <optional>
#include <string>

#include "project/project.h"

namespace bvq {

struct BuildInputProblem {
  int message = 0;      // interface string: 71, 72, 73, 92, 66 or 68
  std::string page;     // page to show: "Page5" or "Page1"
  int tab = -1;         // tab of PageControl1 on Page5; -1 none
  std::string control;  // control to focus
};

// The first failing check, or nullopt when the build may start.
std::optional<BuildInputProblem> CheckBuildInputs(const Project& project);

}  // namespace bvq
