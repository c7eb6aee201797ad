#pragma once
// Column widths of the entry lists when a page is resized: the stretching columns share
// what the fixed columns leave of the list's width (less 24 pixels for the scroll bar).
#include <vector>

class QTreeWidget;

namespace bvq::app {

// The stretching columns of ListView<listNumber> (1..11); the others keep their widths.
const std::vector<int>& StretchingColumns(int listNumber);

// New widths for a list `listWidth` pixels wide whose columns are `widths` now. Each
// stretching column in turn receives round(remaining / columns still to size); no column
// gets less than `minimum`.
std::vector<int> SizeColumns(int listNumber, int listWidth, const std::vector<int>& widths, int minimum = 20);

// Sizes the columns of `tree`, the list ListView<listNumber>, to its present width. No
// column is narrower than its heading: a list too narrow for all of them scrolls.
void FitColumnsToList(QTreeWidget* tree, int listNumber);

}  // namespace bvq::app
