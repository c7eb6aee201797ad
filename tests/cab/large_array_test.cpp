// The compressors' large tables: zeroed, writable to the last element whatever the size,
// and handed on by moving without freeing twice.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "cab/large_array.h"

namespace bvq::cab {
namespace {

TEST(LargeArray, ZeroedAndWritableToTheLastElementForSizesAroundPageBoundaries) {
  // Sizes below, at and past small and large page multiples, and one not a multiple of anything.
  for (size_t n : {size_t{1}, size_t{4095}, size_t{4096}, size_t{4097}, size_t{2} << 20, (size_t{2} << 20) + 1,
                   size_t{5'767'171}}) {
    LargeArray<uint8_t> a(n);
    ASSERT_EQ(a.size(), n);
    ASSERT_NE(a.data(), nullptr);
    EXPECT_EQ(a[0], 0);
    EXPECT_EQ(a[n - 1], 0);
    EXPECT_EQ(a[n / 2], 0);
    a[0] = 1;
    a[n - 1] = 2;
    EXPECT_EQ(a[n - 1], 2) << n;
  }
}

TEST(LargeArray, MovingHandsTheTableOn) {
  LargeArray<uint32_t> a(1000);
  a[999] = 7;
  LargeArray<uint32_t> b;
  EXPECT_EQ(b.size(), 0u);
  b = std::move(a);
  EXPECT_EQ(b.size(), 1000u);
  EXPECT_EQ(b[999], 7u);
  LargeArray<uint32_t> c(std::move(b));
  EXPECT_EQ(c[999], 7u);
  // a and b now hold what was swapped in or nothing; all three are freed once at the end.
}

}  // namespace
}  // namespace bvq::cab
