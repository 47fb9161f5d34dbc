#include "zyn/host/utString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "support/zynTestHelpers.h"
#include "zyn/host/utTypeID.h"
#include "zyn/host/zynNls.h"
#include "zyn/host/zynNumberText.h"

TEST(zynNumberText, ReadsRealsUnderEachFormat) {
  const zynNumberFormat dot = {}, both = {'.', ','}, lead = {'.', '.', ZYN_NUMBER_PREFIX};
  const zynNumberFormat hex = {'.', '.', ZYN_NUMBER_WHOLE, ZYN_OVERFLOW_SATURATE, ZYN_NUMBER_HEX};
  const struct {
    const char* text;
    zynNumberFormat format;
    size_t read;  // 0: no number, and the value stays as it was
    double value;
  } rows[] = {{"-2.5e3", dot, 6, -2500.0},
              {"+.5", dot, 3, 0.5},
              {"2,5", dot, 0, 0},
              {"2,5", both, 3, 2.5},
              {"1,5.2", both, 0, 0},
              {"2.5e", lead, 3, 2.5},
              {"-1e999", dot, 6, -HUGE_VAL},
              {"1e999", {'.', '.', ZYN_NUMBER_WHOLE, ZYN_OVERFLOW_ERROR}, 0, 0},
              {"-1e-999", dot, 7, -0.0},
              {"0.0000001e-320", dot, 14, 0.0},
              {"-0x1p-2", hex, 7, -0.25},
              {"0x1F", lead, 1, 0.0},
              {"0xg", hex, 0, 0},
              {"  7x", {'.', '.', ZYN_NUMBER_PREFIX, ZYN_OVERFLOW_SATURATE, ZYN_NUMBER_SKIP_SPACE}, 3, 7.0},
              {" 7", dot, 0, 0},
              {"+-1", dot, 0, 0},
              {"inf", dot, 0, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    double value = 42.0;
    EXPECT_EQ(zyn_read_number(row.text, row.format, value), row.read);
    const double expected = row.read ? row.value : 42.0;
    EXPECT_EQ(value, expected);
    EXPECT_EQ(std::signbit(value), std::signbit(expected));
  }
}

TEST(zynNumberText, ReadsIntegersAndSaturates) {
  const zynNumberFormat lead = {'.', '.', ZYN_NUMBER_PREFIX}, strict = {'.', '.', ZYN_NUMBER_WHOLE, ZYN_OVERFLOW_ERROR};
  const struct {
    const char* text;
    zynNumberFormat format;
    size_t read;
    int value;
  } rows[] = {{"-7.5", lead, 2, -7},
              {"99999999999", lead, 11, INT_MAX},
              {"-2147483648", strict, 11, INT_MIN},
              {"2147483648", strict, 0, 0},
              {"+-5", lead, 0, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    int value = 42;
    EXPECT_EQ(zyn_read_number(row.text, row.format, value), row.read);
    EXPECT_EQ(value, row.read ? row.value : 42);
  }
}

TEST(utString, CaseCompareAndLocate) {
  EXPECT_EQ(ut_case_compare("Feed", "fEED"), 0);
  EXPECT_GT(ut_case_compare("ab", "A"), 0);
  EXPECT_EQ(ut_locate_substring("a.b.c", ".c"), 3);
  EXPECT_EQ(ut_locate_substring("abc", "x"), -1);
}

TEST(utTypeID, IdentityAndBaseChain) {
  const utTypeID base(utTypeMake, "Base"), derived(utTypeMake, "Derived", &base);
  EXPECT_TRUE(derived.is_kind_of(base));
  EXPECT_FALSE(base.is_kind_of(derived));
  EXPECT_TRUE(derived != base);
  EXPECT_STREQ(derived.name(), "Derived");
}

TEST(nlsUtils, NumbersInTheLocale) {
  EXPECT_TRUE(nlsUtils::is_numeric("-1.25"));
  EXPECT_FALSE(nlsUtils::is_numeric("1.25mm"));
  EXPECT_FALSE(nlsUtils::is_numeric(""));
  EXPECT_DOUBLE_EQ(nlsUtils::fiddle_atof("2,5"), 2.5);
  EXPECT_DOUBLE_EQ(nlsUtils::fiddle_atof(nullptr), 0.0);
  const zynTestDecimalPoint comma(',');
  EXPECT_TRUE(nlsUtils::is_numeric("1,5"));
  EXPECT_TRUE(nlsUtils::is_numeric("1.5"));
}
