#include <gtest/gtest.h>

#include <climits>

#include "zyn/host/utMath.h"
#include "zyn/host/utString.h"
#include "zyn/host/utTypeID.h"
#include "zyn/host/zynNls.h"

TEST(utString, ParseTellsWhetherTheWholeTextWasTheNumber) {
  int i = 0;
  int end = 0;
  EXPECT_TRUE(ut_parse("42", i, end));
  EXPECT_EQ(i, 42);
  EXPECT_EQ(end, -1);
  EXPECT_TRUE(ut_parse("-7mm", i, end));
  EXPECT_EQ(i, -7);
  EXPECT_EQ(end, 2);
  EXPECT_TRUE(ut_parse("+3", i, end));
  EXPECT_EQ(i, 3);
  EXPECT_TRUE(ut_parse("99999999999", i, end));  // saturates rather than wraps
  EXPECT_EQ(i, INT_MAX);
  for (const char* bad : {"", "x1", "-", "+", "+-5", " 1"}) EXPECT_FALSE(ut_parse(bad, i, end)) << bad;

  double d = 0.0;
  EXPECT_TRUE(ut_parse("1e-3", d, end));
  EXPECT_DOUBLE_EQ(d, 1e-3);
  EXPECT_EQ(end, -1);
  EXPECT_TRUE(ut_parse(".5", d, end));
  EXPECT_DOUBLE_EQ(d, 0.5);
  EXPECT_TRUE(ut_parse("2.5e", d, end));  // an exponent without digits is not part of the number
  EXPECT_DOUBLE_EQ(d, 2.5);
  EXPECT_EQ(end, 3);
  EXPECT_TRUE(ut_parse("1e999", d, end));
  EXPECT_GT(d, 1e308);
  for (const char* bad : {"", ".", "e5", "-.", "+-1", "abc"}) EXPECT_FALSE(ut_parse(bad, d, end)) << bad;
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

TEST(utMath, PowersAndRemainders) {
  EXPECT_DOUBLE_EQ(utMath::pow(2.0, 10), 1024.0);
  EXPECT_DOUBLE_EQ(utMath::pow(2.0, -2), 0.25);
  EXPECT_DOUBLE_EQ(utMath::pow(0.0, 0), 1.0);
  EXPECT_DOUBLE_EQ(utMath::remd(7.5, 2.0), 1.5);
  EXPECT_DOUBLE_EQ(utMath::remd(-7.5, 2.0), -1.5);
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
