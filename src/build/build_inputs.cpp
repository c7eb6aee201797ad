#include "build/build_inputs.h"

#include "project/project_paths.h"
#include "project/variables.h"

namespace bvq {

std::optional<BuildInputProblem> CheckBuildInputs(const Project& p) {
  if (!p.CheckBox43) {
    if (p.CheckBox26 && !ProjectFileExists(p, p.LabeledEdit14)) return BuildInputProblem{71, "Page5", 1, "LabeledEdit14"};
    if (p.CheckBox40 && !ProjectFileExists(p, p.LabeledEdit15)) return BuildInputProblem{72, "Page5", 2, "LabeledEdit15"};
    if (p.CheckBox1 && p.RadioButton8() && !ProjectFileExists(p, p.LabeledEdit27))
      return BuildInputProblem{73, "Page5", 0, "LabeledEdit27"};
  }
  if (p.ComboBox4 > 0 &&
      SubstituteVariables(p, p.LabeledEdit25).find(VariableCode(kVariableVolumeNumber)) == std::string::npos)
    return BuildInputProblem{92, "Page1", -1, "LabeledEdit25"};
  if (!ProjectFileExists(p, p.LabeledEdit11)) return BuildInputProblem{66, "Page5", 4, "LabeledEdit11"};
  if (p.CheckBox11 && !ProjectFileExists(p, p.LabeledEdit17)) return BuildInputProblem{68, "Page5", 4, "LabeledEdit17"};
  return std::nullopt;
}

}  // namespace bvq
