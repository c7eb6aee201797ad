#include "project/language_cells.h"

#include "project/language_files.h"
#include "util/strings.h"

namespace bvq {

const std::vector<LocalizedCellSet>& LocalizedCellSets() {
  static const std::vector<LocalizedCellSet> sets = {
      {1, 0, 52, 56},                                    // shortcut place
      {2, 5, 62, 63}, {2, 6, 62, 63},                    // registry: overwrite, uninstall
      {3, 0, 26, 26}, {3, 2, 234, 238}, {3, 3, 62, 63},  // files: no source, if exists, uninstall
      {4, 0, 47, 48}, {4, 4, 93, 94}, {4, 5, 62, 63},    // installer commands: type, when, wait
      {5, 4, 62, 63}, {5, 5, 62, 63},                    // INI: overwrite, uninstall
      {6, 0, 47, 48}, {6, 4, 93, 94}, {6, 5, 62, 63},    // uninstaller commands
      {6, 4, 109, 110},  // the uninstaller's command dialog stores these in the when cell
      {7, 0, 143, 145},                                  // uninstaller deletion kind
      {8, 1, 62, 63},                                    // ActiveX: unregister
  };
  return sets;
}

void RetranslateCell(std::string& cell, int first, int last, const InterfaceStringTable& oldRaw,
                     const InterfaceStringTable& current) {
  for (int n = first; n <= last && n < kInterfaceStringCount; ++n) {
    if (n < 0) continue;
    if (cell == oldRaw[n] || cell == UnescapeLanguageText(oldRaw[n])) {
      // One replacement per cell: comparing the new text with the old language's later
      // strings could turn a "yes" into a "no" when the two languages share a word.
      cell = current[n];
      return;
    }
  }
}

void RetranslateCells(const InterfaceStringTable& oldRaw, const InterfaceStringTable& current,
                      const CellVisitor& visit) {
  for (const LocalizedCellSet& set : LocalizedCellSets()) {
    visit(set.list, set.column,
          [&](std::string& cell) { RetranslateCell(cell, set.first, set.last, oldRaw, current); });
  }
}

bool RetranslateCells(const std::string& oldLanguage, const std::string& oldFile,
                      const std::string& currentLanguage, const InterfaceStringTable& current,
                      const CellVisitor& visit) {
  if (oldLanguage == currentLanguage) return false;
  auto oldRaw = ReadRawLanguageStrings(oldFile);
  if (!oldRaw) return false;
  RetranslateCells(*oldRaw, current, visit);
  return true;
}

}  // namespace bvq
