// Column widths of the entry lists on resize.
#include "app/column_sizing.h"

#include <gtest/gtest.h>
#include <numeric>

namespace bvq::test {
namespace {

// The stretching columns share what the fixed ones leave, the rounding remainder going on.
TEST(ColumnSizing, StretchingColumnsShareTheWidth) {
  // ListView3: columns 0 and 1 stretch, 2 and 3 keep 100 and 80.
  EXPECT_EQ(app::SizeColumns(3, 625, {10, 10, 100, 80}), (std::vector<int>{211, 210, 100, 80}));
  // ListView8: only column 0 stretches.
  EXPECT_EQ(app::SizeColumns(8, 400, {50, 120}), (std::vector<int>{256, 120}));
  // ListView1: seven columns share 700 - 24.
  const std::vector<int> seven = app::SizeColumns(1, 700, std::vector<int>(7, 10));
  EXPECT_EQ(std::accumulate(seven.begin(), seven.end(), 0), 676);
  // Too narrow: no column below the minimum.
  EXPECT_EQ(app::SizeColumns(7, 60, {100, 10}), (std::vector<int>{100, 20}));
}

}  // namespace
}  // namespace bvq::test
