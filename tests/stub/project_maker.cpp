// Test helper: writes a project file from a small description, with the list cells in the
// words of the program's English interface language, so that `belvandorithquessal /build`
// turns it into a setup the installer tests run under Wine.
//
// Usage: stub_project_maker PROGRAM_FOLDER DESCRIPTION OUT.bvq
// DESCRIPTION lines, fields separated by tabs:
//   set <setting> <value>          a setting by the control name its slot records
//                                  (LabeledEdit2, CheckBox11, ComboBox4 ...)
//   lines <setting> <line>...      a setting that holds lines (LanguageListView,
//                                  LicenseFileList, InfoFileList), one cell per line
//   <list number 1..11> <cells...> one row of ListView<n>, caption first
// In values, {N} stands for interface string N (for example {62} for the word "Yes").
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "project/interface_strings.h"
#include "project/language_files.h"
#include "project/language_lists.h"
#include "project/new_project.h"
#include "project/project.h"
#include "project/project_context.h"
#include "project/project_file.h"
#include "project/slot_table.h"
#include "util/program_values.h"

namespace {

std::string Words(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t close = text.find('}', i);
    if (text[i] == '{' && close != std::string::npos) {
      out += bvq::InterfaceString(std::stoi(text.substr(i + 1, close - i - 1)));
      i = close;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    parts.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return parts;
    start = tab + 1;
  }
}

// Applies `value` to the slot whose control name is `name`, as a project file line would.
bool ApplySetting(bvq::Project& p, const std::string& name, const std::string& value) {
  for (const bvq::SlotInfo& slot : bvq::SlotTable())
    if (slot.Set && name == slot.Holder) return slot.Set(p, value);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: stub_project_maker PROGRAM_FOLDER DESCRIPTION OUT.bvq\n";
    return 2;
  }
  std::string program = argv[1];
  if (program.back() != '/') program += '/';
  bvq::SetProgramFolder(program);
  if (!bvq::LoadInterfaceLanguage("English")) {
    std::cerr << "the English interface language cannot be read\n";
    return 2;
  }
  bvq::ProjectContext context;
  bvq::Project project;
  bvq::ProjectSession session(project);
  std::vector<std::string> captions;
  for (const auto& item : bvq::ListInstallLanguages(context.InterfaceLanguage)) captions.push_back(item.caption);
  project.SetInstallLanguages(captions);
  bvq::NewProject(project, session, context);
  const int english = project.FindLanguage("English");
  for (std::size_t i = 0; i < project.installLanguages.size(); ++i)
    project.SetLanguageChecked(i, static_cast<int>(i) == english);

  std::ifstream in(argv[2]);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::vector<std::string> parts = Split(line);
    if ((parts[0] == "set" && parts.size() == 3) || (parts[0] == "lines" && parts.size() >= 2)) {
      std::vector<std::string> lines;
      for (std::size_t i = 2; i < parts.size(); ++i) lines.push_back(Words(parts[i]));
      const std::string value = parts[0] == "set" ? lines[0] : bvq::PackLines(lines);
      if (!ApplySetting(project, parts[1], value)) {
        std::cerr << "unknown setting " << parts[1] << "\n";
        return 2;
      }
      continue;
    }
    const int list = std::stoi(parts[0]);
    std::vector<std::string> cells;
    for (std::size_t i = 1; i < parts.size(); ++i) cells.push_back(Words(parts[i]));
    project.EntryListAt(list).AppendCells(cells);
  }
  if (!bvq::SaveProject(project, session, argv[3], context)) {
    std::cerr << "the project cannot be saved\n";
    return 1;
  }
  return 0;
}
