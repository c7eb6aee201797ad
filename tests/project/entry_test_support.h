#pragma once
// Reading entry rows back as cell lists in tests.
#include <string>
#include <vector>

#include "project/project.h"

namespace bvq::test {

using Cells = std::vector<std::string>;

inline Cells RowCells(const EntryList& list, std::size_t i) {
  Cells cells;
  for (int c = 0; c < list.ColumnCount(); ++c) cells.push_back(list[i].Cell(c));
  return cells;
}

inline std::vector<Cells> AllCells(const EntryList& list) {
  std::vector<Cells> rows;
  for (std::size_t i = 0; i < list.size(); ++i) rows.push_back(RowCells(list, i));
  return rows;
}

}  // namespace bvq::test
