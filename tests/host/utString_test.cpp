#include "zyn/host/utString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

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

TEST(utString, ParseTellsWhereTheNumberEnds) {
  int i = 0;
  int end = 0;
  EXPECT_TRUE(ut_parse("42", i, end));
  EXPECT_EQ(end, -1);
  double d = 0.0;
  EXPECT_TRUE(ut_parse("2.5e", d, end));
  EXPECT_EQ(end, 3);
  EXPECT_FALSE(ut_parse(" 1", d, end));
}

TEST(utString, TrimmingExtractionAndCase) {
  EXPECT_EQ(ut_remove_leading_chars("  \tab ", " \t"), "ab ");
  EXPECT_EQ(ut_remove_trailing_chars("ab;;", ";"), "ab");
  EXPECT_EQ(ut_remove_leading_chars(";;;", ";"), "");

  utString text = "alpha;beta";
  utString out;
  EXPECT_TRUE(ut_extract_string(text, ";", out));
  EXPECT_EQ(out, "alpha");
  EXPECT_EQ(text, ";beta");
  EXPECT_FALSE(ut_extract_string(text, ";", out));  // starts at a delimiter: nothing to take
  text = "tail";
  EXPECT_TRUE(ut_extract_string(text, ";", out));
  EXPECT_EQ(out, "tail");
  EXPECT_TRUE(text.empty());

  EXPECT_EQ(ut_case_compare("Feed", "fEED"), 0);
  EXPECT_LT(ut_case_compare("a", "B"), 0);
  EXPECT_GT(ut_case_compare("ab", "A"), 0);
  EXPECT_EQ(ut_locate_substring("a.b.c", ".c"), 3);
  EXPECT_EQ(ut_locate_substring("abc", "x"), -1);
}

namespace {
const utTypeID& base_id() {
  static const utTypeID id(utTypeMake, "Base");
  return id;
}
const utTypeID& derived_id() {
  static const utTypeID id(utTypeMake, "Derived", &base_id());
  return id;
}
const char* to_pirate(const char* key) { return utString(key) == "Invalid name" ? "Bad name, matey" : nullptr; }
}  // namespace

TEST(utTypeID, IdentityAndBaseChain) {
  EXPECT_TRUE(derived_id().is_kind_of(base_id()));
  EXPECT_FALSE(base_id().is_kind_of(derived_id()));
  EXPECT_TRUE(derived_id() != base_id());
  EXPECT_STREQ(derived_id().name(), "Derived");
}

TEST(nlsUtils, NumbersInTheLocaleAndTranslation) {
  EXPECT_EQ(nlsUtils::m_decimal_point, '.');
  EXPECT_TRUE(nlsUtils::is_numeric("-1.25"));
  EXPECT_FALSE(nlsUtils::is_numeric("1.25mm"));
  EXPECT_FALSE(nlsUtils::is_numeric(""));
  EXPECT_DOUBLE_EQ(nlsUtils::fiddle_atof("2,5"), 2.5);
  EXPECT_DOUBLE_EQ(nlsUtils::fiddle_atof("2.5"), 2.5);
  EXPECT_DOUBLE_EQ(nlsUtils::fiddle_atof(nullptr), 0.0);
  nlsUtils::m_decimal_point = ',';
  EXPECT_TRUE(nlsUtils::is_numeric("1,5"));
  EXPECT_TRUE(nlsUtils::is_numeric("1.5"));
  nlsUtils::m_decimal_point = '.';

  EXPECT_EQ(zynNLS_get_translated_message("Invalid name"), "Invalid name");
  EXPECT_EQ(zynNLS_set_translator(to_pirate), nullptr);
  EXPECT_EQ(zynNLS_get_translated_message("Invalid name"), "Bad name, matey");
  EXPECT_EQ(zynNLS_get_translated_message("Type error"), "Type error");  // no translation: the key
  EXPECT_EQ(zynNLS_set_translator(nullptr), to_pirate);
  EXPECT_EQ(zynNLS_get_translated_message(nullptr), "");
}
