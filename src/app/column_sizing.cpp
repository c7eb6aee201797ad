#include "app/column_sizing.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <QHeaderView>
#include <QTreeWidget>

namespace bvq::app {
namespace {

// Room beside a column heading's text on either side (the header's margin and sort mark).
constexpr int kHeadingPadding = 10;

}  // namespace

const std::vector<int>& StretchingColumns(int listNumber) {
  static const std::map<int, std::vector<int>> table = {
      {1, {0, 1, 2, 3, 4, 5, 6}}, {2, {0, 1, 2, 3, 4, 5, 6}}, {3, {0, 1}}, {4, {1, 2, 3, 4}},
      {5, {0, 1, 2, 3}},          {6, {1, 2, 3, 4}},          {7, {1}},    {8, {0}},
      {9, {1, 2}},                {10, {0, 1, 2, 3, 4}},      {11, {1}},
  };
  static const std::vector<int> none;
  auto it = table.find(listNumber);
  return it == table.end() ? none : it->second;
}

std::vector<int> SizeColumns(int listNumber, int listWidth, const std::vector<int>& widths, int minimum) {
  std::vector<int> out = widths;
  std::vector<int> stretching;
  for (int c : StretchingColumns(listNumber))
    if (c < static_cast<int>(widths.size())) stretching.push_back(c);
  if (stretching.empty()) return out;
  int remaining = listWidth - 24;
  for (std::size_t c = 0; c < widths.size(); ++c)
    if (std::find(stretching.begin(), stretching.end(), static_cast<int>(c)) == stretching.end()) remaining -= widths[c];
  for (std::size_t i = 0; i < stretching.size(); ++i) {
    const int left = static_cast<int>(stretching.size() - i);
    const int width = static_cast<int>(std::lround(static_cast<double>(remaining) / left));
    out[stretching[i]] = std::max(width, minimum);
    remaining -= width;
  }
  return out;
}

void FitColumnsToList(QTreeWidget* tree, int listNumber) {
  QHeaderView* header = tree->header();
  std::vector<int> widths, headings;
  for (int c = 0; c < tree->columnCount(); ++c) {
    headings.push_back(header->fontMetrics().horizontalAdvance(tree->headerItem()->text(c)) + 2 * kHeadingPadding);
    widths.push_back(std::max(header->sectionSize(c), headings.back()));
  }
  const std::vector<int> sized = SizeColumns(listNumber, tree->width(), widths);
  for (std::size_t c = 0; c < sized.size(); ++c)
    header->resizeSection(static_cast<int>(c), std::max(sized[c], headings[c]));
}

}  // namespace bvq::app
