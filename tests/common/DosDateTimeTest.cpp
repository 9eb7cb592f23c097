#include "common/DosDateTime.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(DosDateTime, PacksFieldsMostSignificantFirst) {
  EXPECT_EQ(PackDosDateTime({2024, 2, 29, 13, 45, 31}), 0x585D6DAFu);
  EXPECT_EQ(PackDosDateTime({1980, 1, 1, 0, 0, 0}), 0x00210000u);
  EXPECT_EQ(PackDosDateTime({2107, 12, 31, 23, 59, 59}), 0xFF9FBF7Du);
  EXPECT_EQ(PackDosDateTime({2024, 1, 1, 9, 0, 0}), 0x58214800u);
}

TEST(DosDateTime, YearsOutsideTheFormatHaveNoValue) {
  EXPECT_EQ(PackDosDateTime({1979, 12, 31, 23, 59, 59}), std::nullopt);
  EXPECT_EQ(PackDosDateTime({2108, 1, 1, 0, 0, 0}), std::nullopt);
}

TEST(DosDateTime, UnsignedOrderIsTimeOrderAcross2044) {
  EXPECT_LT(*PackDosDateTime({2043, 12, 31, 23, 59, 58}), *PackDosDateTime({2044, 1, 1, 0, 0, 0}));
  EXPECT_LT(*PackDosDateTime({2024, 5, 1, 10, 0, 0}), *PackDosDateTime({2024, 5, 1, 10, 0, 2}));
  EXPECT_EQ(*PackDosDateTime({2024, 5, 1, 10, 0, 0}), *PackDosDateTime({2024, 5, 1, 10, 0, 1}))
      << "two-second resolution";
}

}  // namespace
}  // namespace orv
