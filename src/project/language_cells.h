#pragma once
// Re-translation of the localised cells of the entry lists: cells that hold an interface
// string of the language active when the entry was made (yes/no, choice words).
#include <functional>
#include <string>
#include <vector>

#include "project/interface_strings.h"

namespace bvq {

// The cells of column `column` (0 the caption, k >= 1 sub-item k - 1) of every row of list
// ListView<list> may hold interface strings first..last.
struct LocalizedCellSet {
  int list;
  int column;
  int first;
  int last;
};
// All localised cell sets, in list order.
const std::vector<LocalizedCellSet>& LocalizedCellSets();

// Calls `rewrite` on every cell of column `column` of every row of ListView<list>.
using CellVisitor =
    std::function<void(int list, int column, const std::function<void(std::string& cell)>& rewrite)>;

// For N = first..last in increasing order: a cell equal to the old language's string N
// becomes current string N, and is not compared again. The old string is compared as written
// in the old file and as unescaped (what a cell holds when the string uses escapes).
void RetranslateCell(std::string& cell, int first, int last, const InterfaceStringTable& oldRaw,
                     const InterfaceStringTable& current);
// Every localised cell that `visit` reaches.
void RetranslateCells(const InterfaceStringTable& oldRaw, const InterfaceStringTable& current,
                      const CellVisitor& visit);
// From language `oldLanguage` (its file `oldFile`) to `currentLanguage` with strings `current`.
// Does nothing and returns false when the languages are equal or the old file cannot be read.
bool RetranslateCells(const std::string& oldLanguage, const std::string& oldFile,
                      const std::string& currentLanguage, const InterfaceStringTable& current,
                      const CellVisitor& visit);

}  // namespace bvq
