#include "zyn/values/zynDimensions.h"

#include <gtest/gtest.h>

#include <climits>

#include "zyn/values/zynUnits.h"

namespace {

TEST(Dimensions, TextFormsPrintAndParse) {
  const struct { zynDimStandard standard; const char* text; } cases[] = {
      {ZYN_DIM_NONE, ""}, {ZYN_DIM_MASS, "[M]"}, {ZYN_DIM_LENGTH, "[L]"}, {ZYN_DIM_TIME, "[T]"}, {ZYN_DIM_AREA, "[LL]"},
      {ZYN_DIM_SPEED, "[L/T]"}, {ZYN_DIM_ACCELERATION, "[L/TT]"}, {ZYN_DIM_PER_TIME, "[1/T]"},
      {ZYN_DIM_FREQUENCY, "[1/T]"}, {ZYN_DIM_DENSITY, "[M/LLL]"}, {ZYN_DIM_PRESSURE, "[M/LTT]"},
      {ZYN_DIM_POWER, "[MLL/TTT]"}, {ZYN_DIM_INVALID, "[!]"}, {static_cast<zynDimStandard>(17), "[!]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    zynDimensions d(c.standard);
    EXPECT_EQ(d.get_string(), c.text);
    // Every printed form parses back to the same value.
    EXPECT_EQ(zynDimensions(d.get_string()), d);
  }
  // Other texts parse to the same sets, or to invalid dimensions, which have no exponents.
  const struct { const char* text; zynDimStandard expected; } texts[] = {
      {"L/T", ZYN_DIM_SPEED}, {"[ L / T ]", ZYN_DIM_SPEED}, {"[LL/L]", ZYN_DIM_LENGTH}, {"[1]", ZYN_DIM_NONE},
      {"[l]", ZYN_DIM_INVALID}, {"[2L]", ZYN_DIM_INVALID}, {"[LLx]", ZYN_DIM_INVALID}};
  for (const auto& t : texts) EXPECT_EQ(zynDimensions(utString(t.text)), zynDimensions(t.expected)) << t.text;
  EXPECT_EQ(zynDimensions(utString("[LLx]")).L(), 0);
  EXPECT_EQ(zynDimensions().get_string(), "[!]");
  EXPECT_EQ(zynDimensions(-1, 0, 0).get_string(), "[1/M]");
  EXPECT_EQ(zynDimensions(2, -1, 3).get_string(), "[MMTTT/L]");
}

TEST(Dimensions, Arithmetic) {
  zynDimensions length(ZYN_DIM_LENGTH);
  zynDimensions time(ZYN_DIM_TIME);
  zynDimensions invalid;
  EXPECT_TRUE((length + time).invalid());
  EXPECT_EQ(length + length, length);
  EXPECT_TRUE((invalid * length).invalid());
  EXPECT_TRUE((length / invalid).invalid());
  EXPECT_EQ(length / time, zynDimensions(ZYN_DIM_SPEED));
  EXPECT_EQ(zynDimensions(ZYN_DIM_SPEED).pow(0), zynDimensions(ZYN_DIM_NONE));
  EXPECT_EQ(length.pow(-2).get_string(), "[1/LL]");
  EXPECT_TRUE(invalid.pow(0).invalid());
  EXPECT_NE(zynDimensions(ZYN_DIM_NONE), invalid);
  // Huge exponents give invalid dimensions rather than overflowing.
  EXPECT_TRUE(zynDimensions(ZYN_DIM_AREA).pow(INT_MAX).invalid());
  EXPECT_TRUE(length.pow(1001).invalid());
  EXPECT_EQ(length.pow(1000).L(), 1000);
  EXPECT_TRUE((zynDimensions(0, INT_MAX, 0) * length).invalid());
}

TEST(Units, ConvertBetweenTimeUnitsOnly) {
  // Converts 90 from "from" to "to".
  const struct { zynUnits to; zynUnitsStandard from; double value; bool failed; } cases[] = {
      {zynUnits(ZYN_UNITS_HOUR), ZYN_UNITS_MINUTE, 1.5, false},
      {zynUnits(ZYN_UNITS_MILLISECOND), ZYN_UNITS_SECOND, 90000, false},
      {zynUnits(ZYN_UNITS_HOUR), ZYN_UNITS_HOUR, 90, false}, {zynUnits(ZYN_UNITS_HOUR), ZYN_UNITS_NONE, 90, true},
      {zynUnits(), ZYN_UNITS_NONE, 90, true}, {zynUnits(ZYN_UNITS_HOUR), static_cast<zynUnitsStandard>(9), 90, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from);
    bool failed = !c.failed;
    EXPECT_DOUBLE_EQ(c.to.convert_value_from(90.0, c.from, failed), c.value);
    EXPECT_EQ(failed, c.failed);
  }
  for (int a = 0; a <= 5; ++a) {
    for (int b = 0; b <= 5; ++b) {
      // Equal codes convert trivially, even unknown ones; none never converts.
      bool expected = (a == b && a != 0) || (a >= 1 && a <= 4 && b >= 1 && b <= 4);
      zynUnits ua(static_cast<zynUnitsStandard>(a));
      EXPECT_EQ(ua.can_convert_from(static_cast<zynUnitsStandard>(b)), expected) << a << " from " << b;
    }
  }
  EXPECT_EQ(zynUnits(ZYN_UNITS_SECOND).get_dimensions(), zynDimensions(ZYN_DIM_TIME));
  EXPECT_TRUE(zynUnits().get_dimensions().invalid());
  EXPECT_TRUE(zynUnits(ZYN_UNITS_MINUTE) != zynUnits(ZYN_UNITS_HOUR));
}

}  // namespace
