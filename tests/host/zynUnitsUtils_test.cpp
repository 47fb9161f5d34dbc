#include "zyn/host/zynUnitsUtils.h"

#include <gtest/gtest.h>

#include <limits>

#include "zyn/host/zynProgressBreak.h"
#include "zyn/host/zynTolerance.h"

TEST(UnitsUtils, ScalesBetweenSystems) {
  EXPECT_EQ(zynUnitsUtils::get_scale_from(zynUnitsImperial), 25.4);
  EXPECT_TRUE(zynUnitsUtils::set_units(1));
  EXPECT_DOUBLE_EQ(zynUnitsUtils::get_scale_from(zynUnitsMetric), 1.0 / 25.4);
  EXPECT_EQ(zynUnitsUtils::get_scale_to(zynUnitsMetric), 1.0);  // internal lengths stay millimetres
  EXPECT_FALSE(zynUnitsUtils::set_units(2));
  EXPECT_EQ(zynUnitsUtils::get_units(), zynUnitsImperial);
  zynUnitsUtils::set_units(0);
}

// A point breaks once: when its progress is first reached.
TEST(ProgressBreak, PointsBreakOnceWhenReached) {
  zynProgressBreak::add_debug_break_point("drill", 50.0);
  EXPECT_TRUE(zynProgressBreak::debug_break_due("drill", 50.0));
  EXPECT_FALSE(zynProgressBreak::debug_break_due("drill", 80.0));
  zynProgressBreak::clear_debug_break_points();
}

TEST(Tolerance, RefusesUnusableValues) {
  EXPECT_EQ(zyn_set_coincidence_tolerance(-1.0), 1e-6);
  EXPECT_EQ(zyn_set_coincidence_tolerance(std::numeric_limits<double>::quiet_NaN()), 1e-6);
  EXPECT_EQ(zyn_set_coincidence_tolerance(1e-3), 1e-6);
  EXPECT_EQ(zyn_coincidence_tolerance(), 1e-3);
  zyn_set_coincidence_tolerance(zyn_default_coincidence_tolerance);
}
