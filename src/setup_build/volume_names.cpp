#include "setup_build/volume_names.h"

#include "setup_build/volume_writer.h"
#include "platform/shell_folders.h"
#include "project/project_paths.h"
#include "project/variables.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq {

std::string VolumePath(const Project& project, int n) {
  std::string out = project.setupFile.empty() ? DefaultSetupFile() : ResolveProjectPath(project, project.setupFile);
  if (n == 0) return out;
  std::string name = ReplaceAll(SubstituteVariables(project, project.volumeFileName),
                                VariableCode(kVariableVolumeNumber), std::to_string(n + 1));
  return ExtractFilePath(out) + NativePath(name);
}

uint64_t VolumeSize(const Project& project) {
  switch (project.splitting) {
    case 1: return kDisketteVolumeSize;
    case 2: return kCdVolumeSize;
    case 3: return kDvdVolumeSize;
    case 4: {
      static const uint64_t kUnits[4] = {1, 1024, 1048576, 1073741824};
      int unit = project.volumeSizeUnit >= 0 && project.volumeSizeUnit < 4 ? project.volumeSizeUnit : 0;
      return static_cast<uint64_t>(project.volumeSize < 0 ? 0 : project.volumeSize) * kUnits[unit];
    }
    default: return 0;
  }
}

}  // namespace bvq
