#pragma once
// The variable dialog's rules for rows of `registryVariables` (variables whose values the
// installer reads from the registry): name, root key, subkey, value name, default string.
#include <string>

#include "project/entry_dialog.h"
#include "project/project.h"

namespace bvq {

// Fields of the variable dialog; RootKey indexes kRegistryRootNames.
struct VariableFields {
  std::string Name;       // LabeledEdit1
  int RootKey = 0;        // ComboBox1
  std::string SubKey;     // LabeledEdit2
  std::string ValueName;  // LabeledEdit3
  std::string Default;    // LabeledEdit4
};

// Add mode: "%MyVariable%" under HKEY_CLASSES_ROOT; edit mode: the row at the place. A root
// cell that matches no name keeps the first item.
VariableFields ShowVariableEntry(const Project& project, const EntryPlace& place);

// "%" added at the start and at the end where missing ("%" alone stays as it is).
std::string NormalizeVariableName(const std::string& name);

// OK: an empty name, then an empty subkey, is refused with the focus on it; the name gets its
// "%" signs (written back into fields.Name, as the field shows it); a name equal, without
// regard to case, to another row's or to a built-in one is refused with interface string 6.
EntryOutcome ApplyVariableEntry(Project& project, const EntryPlace& place, VariableFields& fields);

}  // namespace bvq
