#include "project/user_variables.h"

#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/registry_names.h"
#include "project/variables.h"
#include "util/strings.h"

namespace bvq {

VariableFields ShowVariableEntry(const Project& project, const EntryPlace& place) {
  VariableFields f;
  if (place.Mode == EntryMode::Add) {
    f.Name = "%MyVariable%";
    return f;
  }
  const EntryRow* edited = EditedRow(project.registryVariables, place);
  if (edited == nullptr) return f;
  const EntryRow& row = *edited;
  f.Name = row.Caption;
  f.RootKey = std::max(0, RegistryRootIndex(row.Cell(1)));
  f.SubKey = row.Cell(2);
  f.ValueName = row.Cell(3);
  f.Default = row.Cell(4);
  return f;
}

std::string NormalizeVariableName(const std::string& name) {
  std::string result = name;
  if (result.empty() || result.front() != '%') result.insert(result.begin(), '%');
  if (result.back() != '%') result.push_back('%');
  return result;
}

EntryOutcome ApplyVariableEntry(Project& project, const EntryPlace& place, VariableFields& fields) {
  if (fields.Name.empty()) return EntryOutcome::FocusOn("LabeledEdit1");
  fields.Name = NormalizeVariableName(fields.Name);
  const EntryList& rows = project.registryVariables;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (place.Mode == EntryMode::Edit && static_cast<int>(i) == place.Row) continue;
    if (EqualsNoCase(rows[i].Caption, fields.Name)) return EntryOutcome::Warn(InterfaceString(kTextVariableNameTaken));
  }
  if (IsReservedVariableName(fields.Name)) return EntryOutcome::Warn(InterfaceString(kTextVariableNameTaken));
  if (fields.SubKey.empty()) return EntryOutcome::FocusOn("LabeledEdit2");
  const int root = fields.RootKey >= 0 && fields.RootKey < static_cast<int>(kRegistryRootNames.size())
                       ? fields.RootKey : 0;
  EntryRow row{fields.Name, {std::string(kRegistryRootNames[static_cast<std::size_t>(root)]), fields.SubKey,
                             fields.ValueName, fields.Default}};
  return WriteEntryRows(project, project.registryVariables, place, {std::move(row)});
}

}  // namespace bvq
