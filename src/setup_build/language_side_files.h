#pragma once
// The install languages of a build and the numbers of their licence and information side
// files ($inst\20.tmp ... and $inst\50.tmp ...), shared by the installer script (which names
// the numbers) and the data block (which holds the files).
#include <string>
#include <vector>

#include "project/project.h"

namespace bvq {

constexpr int kFirstLicenseSideFile = 20;
constexpr int kFirstInfoSideFile = 50;

struct BuildLanguage {
  std::string caption;      // as in the project's installLanguages
  std::string name;         // the caption before " ("
  std::string licenseFile;  // path on this system of the language's own licence file, or ""
  int licenseNumber = 0;    // its side-file number, 0 when none
  std::string infoFile;
  int infoNumber = 0;
};

// The checked languages in list order. A language gets a licence number (20, 21, ... in
// this order) when the licence page is shown and its entry of licenseFiles names an
// existing file; information numbers likewise from 50 with the information page.
std::vector<BuildLanguage> BuildLanguages(const Project& project);

}  // namespace bvq
