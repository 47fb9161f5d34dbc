#include "zyn/host/zynRange.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Range, ClampsToNearestBoundAndEmptyRangesNever) {
  const zynRange r(0.0, 10.0);
  const struct {
    double in, out;
    bool clamped;
  } rows[] = {{12.0, 10.0, true}, {-3.0, 0.0, true}, {10.0, 10.0, false}, {std::nan(""), 0.0, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.in);
    double v = row.in;
    EXPECT_EQ(r.clamp(v) != 0, row.clamped);
    EXPECT_EQ(v, row.out);
  }
  EXPECT_FALSE(r.contains(10.5));
  const zynRange reversed(5.0, 1.0);
  EXPECT_TRUE(reversed.invalid());
  double v = 3.0;
  EXPECT_FALSE(reversed.clamp(v));
  zynRange flagged(1.0, 2.0);
  flagged.set_flags(3, 4);
  EXPECT_EQ(flagged.get_flags2(), 4);
}
