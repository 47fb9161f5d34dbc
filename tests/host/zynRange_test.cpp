#include "zyn/host/zynRange.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Range, ClampsClosedRangeToNearestBound) {
  const zynRange r(0.0, 10.0);
  double v = 12.0;
  EXPECT_TRUE(r.clamp(v));
  EXPECT_EQ(v, 10.0);
  v = -3.0;
  EXPECT_TRUE(r.clamp(v));
  EXPECT_EQ(v, 0.0);
  v = 10.0;
  EXPECT_FALSE(r.clamp(v));
  EXPECT_EQ(v, 10.0);
  v = std::nan("");
  EXPECT_TRUE(r.clamp(v));
  EXPECT_EQ(v, 0.0);
  EXPECT_TRUE(r.contains(0.0));
  EXPECT_FALSE(r.contains(10.5));
  EXPECT_FALSE(r.invalid());
}

TEST(Range, EmptyRangeNeverClamps) {
  const zynRange empty;
  EXPECT_TRUE(empty.invalid());
  EXPECT_EQ(empty.get_min(), DBL_MAX);
  double v = -1e300;
  EXPECT_FALSE(empty.clamp(v));
  EXPECT_EQ(v, -1e300);
  const zynRange reversed(5.0, 1.0);
  EXPECT_TRUE(reversed.invalid());
  v = 3.0;
  EXPECT_FALSE(reversed.clamp(v));
  zynRange flagged(1.0, 2.0);
  flagged.set_flags(3, 4);
  EXPECT_EQ(flagged.get_flags2(), 4);
}
