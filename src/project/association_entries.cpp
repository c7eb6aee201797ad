#include "project/association_entries.h"

#include "project/registry_names.h"

namespace bvq {

EntryOutcome ApplyAssociation(Project& project, const AssociationFields& fields) {
  if (fields.Extension.empty()) return EntryOutcome::FocusOn("LabeledEdit1");
  if (fields.Program.empty()) return EntryOutcome::FocusOn("LabeledEdit2");
  const std::string ext = fields.Extension.front() == '.' ? fields.Extension.substr(1) : fields.Extension;
  const std::string fileType = ext + "file";
  auto row = [](std::string subkey, std::string data) {
    return EntryRow{std::string(kRegistryRootNames[0]),
                    {std::move(subkey), "", std::string(kRegistryValueTypes[0]), std::move(data), YesNoCell(true),
                     YesNoCell(true)}};
  };
  std::vector<EntryRow> rows;
  rows.push_back(row("." + ext, fileType));
  rows.push_back(row(fileType + "\\shell\\open\\command", fields.Program + " " + fields.Parameters));
  if (!fields.Description.empty()) rows.push_back(row(fileType, fields.Description));
  if (!fields.IconFile.empty()) rows.push_back(row(fileType + "\\DefaultIcon", fields.IconFile + "," + fields.IconIndex));
  return WriteEntryRows(project, project.registryValues, EntryPlace::Add(), std::move(rows));
}

}  // namespace bvq
