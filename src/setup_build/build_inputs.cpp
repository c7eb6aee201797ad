#include "setup_build/build_inputs.h"

#include "project/interface_text_ids.h"
#include "project/project_paths.h"
#include "project/variables.h"

namespace bvq {

std::optional<BuildInputProblem> CheckBuildInputs(const Project& p) {
  if (!p.silentInstall) {
    if (p.showHeaderPicture && !ProjectFileExists(p, p.headerPicture))
      return BuildInputProblem{kTextHeaderPictureMissing, "Page5", 1, "LabeledEdit14"};
    if (p.showLogo && !ProjectFileExists(p, p.logoPicture))
      return BuildInputProblem{kTextLogoPictureMissing, "Page5", 2, "LabeledEdit15"};
    if (p.showBackground && p.BackgroundIsPicture() && !ProjectFileExists(p, p.backgroundPicture))
      return BuildInputProblem{kTextBackgroundPictureMissing, "Page5", 0, "LabeledEdit27"};
  }
  if (p.splitting > 0 &&
      SubstituteVariables(p, p.volumeFileName).find(VariableCode(kVariableVolumeNumber)) == std::string::npos)
    return BuildInputProblem{kTextVolumeNameNeedsNumber, "Page1", -1, "LabeledEdit25"};
  if (!ProjectFileExists(p, p.installerIcon))
    return BuildInputProblem{kTextInstallerIconMissing, "Page5", 4, "LabeledEdit11"};
  if (p.makeUninstaller && !ProjectFileExists(p, p.uninstallerIcon))
    return BuildInputProblem{kTextUninstallerIconMissing, "Page5", 4, "LabeledEdit17"};
  return std::nullopt;
}

}  // namespace bvq
