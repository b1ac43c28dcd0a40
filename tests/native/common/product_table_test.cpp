#include "common/product_table.h"

#include <gtest/gtest.h>

namespace {

TEST(ProductTable, IsFloorOfProductOver255EverywhereAndSymmetric) {
  static const torv::ProductTable table;
  for (int i = 0; i < 256; ++i)
    for (int j = 0; j < 256; ++j) {
      // Reference in floating point: floor rounds toward zero, never to nearest.
      ASSERT_EQ(table(i, j), static_cast<int>(static_cast<double>(i) * j / 255.0 + 1e-9)) << i << "," << j;
      ASSERT_EQ(table(i, j), table(j, i));
      ASSERT_EQ(table.Row(i)[j], table(i, j));
    }
  // Landmarks the blend rule leans on: 255 is identity, 0 annihilates, 128*128 rounds down.
  EXPECT_EQ(table(255, 77), 77);
  EXPECT_EQ(table(0, 200), 0);
  EXPECT_EQ(table(128, 128), 64);
  EXPECT_EQ(table(254, 254), 253);
}

}  // namespace
