#include "zyn/values/zynParameterNumeric.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>

#include "zyn/core/zynParameterNotify.h"
#include "zyn/core/zynParameterUpdateTrack.h"
#include "zyn/host/zynUnitsUtils.h"
#include "zyn/host/zynNls.h"

namespace {

const zynDimensions none(ZYN_DIM_NONE);
const zynDimensions length(ZYN_DIM_LENGTH);

zynParameterPtr make(zynParameterSubType s, double v = 0.0, const zynDimensions& d = none) {
  return zynParameterPtr(new zynParameterNumeric(s, d, v));
}

zynParameterPtr make_text(zynParameterSubType s, const utString& text) {
  zynParameterPtr p = make(s);
  p->set_string(text);
  return p;
}

utString stored(const zynParameterPtr& p) { return zynParameterNumeric::ut_dynamic_cast(p.pointer())->get_value(); }

// Switches the locale's decimal point for one test.
class DecimalPoint {
 public:
  explicit DecimalPoint(char c) : m_old(nlsUtils::m_decimal_point) { nlsUtils::m_decimal_point = c; }
  ~DecimalPoint() { nlsUtils::m_decimal_point = m_old; }

 private:
  char m_old;
};

TEST(ParameterNumeric, RealTextsAreNormalised) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"5", "5.0"},          {"-5", "-5.0"},       {"  -.25  ", "-0.25"}, {".5", "0.5"},   {",5", "0.5"},
      {"1,5", "1.5"},        {"1.50", "1.50"},     {"+3", "+3.0"},        {"1e3", "1e3"},  {"-,75", "-0.75"},
      {"2*a", "2*a"},        {" 7 ", "7.0"},       {"1.", "1."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(stored(make_text(PS_REAL, c.text)), c.expected);
    EXPECT_EQ(stored(make_text(PS_ANGLE, c.text)), c.expected);
  }
  // Other subtypes keep the text as given.
  EXPECT_EQ(stored(make_text(PS_INT, "5")), "5");
  EXPECT_EQ(stored(make_text(PS_NUMERIC, " -.25")), " -.25");
  EXPECT_EQ(stored(make_text(PS_BOOL, "1,5")), "1,5");
}

TEST(ParameterNumeric, CommaLocaleNormalisesToComma) {
  DecimalPoint comma(',');
  EXPECT_EQ(stored(make_text(PS_REAL, "5")), "5,0");
  EXPECT_EQ(stored(make_text(PS_REAL, "1.5")), "1,5");
  EXPECT_EQ(stored(make_text(PS_REAL, "-.5")), "-0,5");
  EXPECT_DOUBLE_EQ(make_text(PS_REAL, "1.5")->get_double(), 1.5);
  EXPECT_DOUBLE_EQ(make_text(PS_NUMERIC, "2,25")->get_double(), 2.25);
  EXPECT_DOUBLE_EQ(make_text(PS_NUMERIC, "2.25")->get_double(), 2.25);
  // Only the first separator is rewritten; the second makes it an expression.
  EXPECT_TRUE(make_text(PS_NUMERIC, "1,5,5")->is_expr());
  EXPECT_EQ(make(PS_REAL, 2.5)->get_string(), "2,5");
}

TEST(ParameterNumeric, LiteralsAreNotExpressions) {
  EXPECT_FALSE(make_text(PS_NUMERIC, "12")->is_expr());
  EXPECT_FALSE(make_text(PS_NUMERIC, "1,5")->is_expr());
  EXPECT_FALSE(make_text(PS_NUMERIC, " 3 ")->is_expr());
  EXPECT_FALSE(make_text(PS_NUMERIC, "")->is_expr());
  EXPECT_TRUE(make_text(PS_NUMERIC, "1e")->is_expr());
  EXPECT_TRUE(make_text(PS_NUMERIC, "a+1")->is_expr());
  EXPECT_TRUE(make_text(PS_NUMERIC, "1.5.5")->is_expr());
  EXPECT_TRUE(make_text(PS_NUMERIC, "- 1")->is_expr());
}

TEST(ParameterNumeric, CacheFollowsTheDecimalPoint) {
  zynParameterPtr p = make_text(PS_NUMERIC, "1,5");
  EXPECT_DOUBLE_EQ(p->get_double(), 1.5);
  {
    // Under a locale whose point is neither separator, "," is no longer one.
    DecimalPoint odd(';');
    EXPECT_TRUE(p->is_expr());
    EXPECT_DOUBLE_EQ(p->get_double(), 0.0);
  }
  EXPECT_FALSE(p->is_expr());
  EXPECT_DOUBLE_EQ(p->get_double(), 1.5);
}

TEST(ParameterNumeric, SubtypeRulesOnReading) {
  EXPECT_EQ(make_text(PS_INT, "2.7")->get_double(), 2.0);
  EXPECT_EQ(make_text(PS_INT, "-2.5")->get_double(), -3.0);
  EXPECT_EQ(make_text(PS_INT, "-2.5")->get_string(), "-3");
  EXPECT_EQ(make_text(PS_REAL, "-2.7")->get_int(), -2);
  EXPECT_EQ(make_text(PS_BOOL, "0.0001")->get_double(), 1.0);
  EXPECT_EQ(make_text(PS_BOOL, "-3")->get_double(), 1.0);
  EXPECT_EQ(make_text(PS_BOOL, "0")->get_double(), 0.0);
  // Values beyond the int range saturate instead of overflowing.
  EXPECT_EQ(make_text(PS_INT, "1e20")->get_int(), INT_MAX);
  EXPECT_EQ(make_text(PS_REAL, "-1e20")->get_int(), INT_MIN);
  EXPECT_EQ(make_text(PS_INT, "3e9")->get_double(), static_cast<double>(INT_MAX));
}

TEST(ParameterNumeric, ConstructorValueBecomesTextAndDefault) {
  zynParameterPtr p = make(PS_REAL, 1.0);
  EXPECT_EQ(stored(p), "1.0");
  EXPECT_EQ(p->get_expr(), "1.0");
  p->set_string("7");
  EXPECT_EQ(p->get_impl()->get(zynParameterImpl::DEFAULT_VALUE), "1.0");
  p->reset();
  EXPECT_EQ(stored(p), "1.0");
  EXPECT_EQ(stored(make(PS_INT, 3.0)), "3");
  p->set_int(4);
  EXPECT_EQ(stored(p), "4.0");
  EXPECT_EQ(stored(make(PS_NUMERIC, 0.1)), "0.1");
  EXPECT_EQ(stored(make(PS_REAL, -0.25)), "-0.25");
  // A value that is never changed needs no descriptive record of its own.
  zynParameterPtr q = make(PS_REAL, 2.0);
  q->reset();
  EXPECT_EQ(stored(q), "2.0");
}

TEST(ParameterNumeric, DoublesRoundTripExactly) {
  const double values[] = {0.1, 1.0 / 3.0, -2.5e-300, 1e300, 123456789.125, DBL_MAX, -0.0, 5e-324};
  for (double v : values) {
    SCOPED_TRACE(v);
    zynParameterPtr p = make(PS_NUMERIC);
    p->set_double(v);
    zynParameterPtr q = make_text(PS_NUMERIC, stored(p));
    EXPECT_EQ(q->get_double(), v);
    EXPECT_EQ(make(PS_REAL, v)->get_double(), v);
  }
}

TEST(ParameterNumeric, LockedNumericIgnoresWrites) {
  zynParameterPtr p = make(PS_REAL, 1.0);
  p->lock(1);
  p->set_string("2");
  p->set_double(3.0);
  p->set_int(4);
  EXPECT_EQ(stored(p), "1.0");
  {
    zynParameterNoLock unlock;
    p->set_int(4);
  }
  EXPECT_EQ(stored(p), "4.0");
}

int g_modified = 0;
int g_read = 0;
void on_modify(zynParameter*) { ++g_modified; }
void on_read(const zynParameter*) { ++g_read; }

TEST(ParameterNumeric, CallbacksFireOnWriteAndRead) {
  zynParameterPtr p = make(PS_REAL, 1.0);
  EXPECT_EQ(p->set_onmodify_callback(on_modify), nullptr);
  EXPECT_EQ(p->set_onread_callback(on_read), nullptr);
  g_modified = g_read = 0;
  p->set_string("2");
  p->set_string("2");  // an unchanged text still notifies
  EXPECT_EQ(g_modified, 2);
  p->get_double();
  p->get_string();
  EXPECT_EQ(g_read, 2);
  EXPECT_EQ(p->set_onmodify_callback(nullptr), &on_modify);
}

TEST(ParameterNumeric, CreateBoolGivesFreshCopies) {
  zynParameterPtr t = zynParameterPtr(zynParameterNumeric::create_bool(5));
  zynParameterPtr u = zynParameterPtr(zynParameterNumeric::create_bool(1));
  zynParameterPtr f = zynParameterPtr(zynParameterNumeric::create_bool(0));
  EXPECT_NE(t.pointer(), u.pointer());
  EXPECT_TRUE(*t == *u);
  EXPECT_FALSE(*t == *f);
  EXPECT_EQ(t->get_double(), 1.0);
  EXPECT_EQ(f->get_int(), 0);
  EXPECT_EQ(zynParameter::get_subtype(*t), PS_BOOL);
  EXPECT_EQ(t->print(0), "(BOOL) 1 \n");
  // Changing a copy leaves the prototype alone.
  t->set_int(0);
  EXPECT_EQ(zynParameterPtr(zynParameterNumeric::create_bool(1))->get_double(), 1.0);
}

TEST(ParameterNumeric, EqualityUsesSubtypeDimensionsAndTolerance) {
  EXPECT_TRUE(*make(PS_REAL, 1.0) == *make(PS_REAL, 1.0 + 1e-9));
  EXPECT_FALSE(*make(PS_REAL, 1.0) == *make(PS_REAL, 1.1));
  EXPECT_FALSE(*make(PS_REAL, 1.0) == *make(PS_INT, 1.0));
  EXPECT_FALSE(*make(PS_REAL, 1.0, length) == *make(PS_REAL, 1.0));
  EXPECT_TRUE(*make(PS_INT, 2.2) == *make(PS_INT, 2.9));
  EXPECT_FALSE(*make(PS_INT, 2.0) == *make(PS_INT, 3.0));
}

TEST(ParameterNumeric, PrintShowsTextValueAndDimensions) {
  EXPECT_EQ(make(PS_REAL, 5.0)->print(0), "(REAL) 5.0 \n");
  EXPECT_EQ(make_text(PS_REAL, "5.50")->print(0), "(REAL) 5.50 = 5.5 \n");
  EXPECT_EQ(make(PS_NUMERIC, 2.0, length)->print(0), "(NUMERIC) 2 [L]\n");
  EXPECT_EQ(make_text(PS_INT, "2.7")->print(0), "(INT) 2.7 = 2 \n");
  // Without an evaluator behind it, an expression is invalid.
  zynParameterPtr e = make_text(PS_REAL, "2*a");
  EXPECT_EQ(e->print(0).substr(0, 10), "(REAL !) 2");
  EXPECT_EQ(e->get_double(), 0.0);
  EXPECT_EQ(e->get_string(), "");
}

TEST(ParameterNumeric, CopyValueIntoIntTakesTheFloor) {
  zynParameterPtr real = make_text(PS_REAL, "-2.5");
  zynParameterPtr i = make(PS_INT);
  i->copy_value_from(*real);
  EXPECT_EQ(stored(i), "-3");
  zynParameterPtr b = make(PS_BOOL);
  b->copy_value_from(*make_text(PS_REAL, "0.25"));
  EXPECT_EQ(stored(b), "1");
  zynParameterPtr r = make(PS_REAL);
  r->copy_value_from(*make_text(PS_INT, "2.5"));
  EXPECT_EQ(stored(r), "2.5");
  i->copy_value_from(*i);
  EXPECT_EQ(stored(i), "-3");
}

TEST(ParameterNumeric, UnitConversionAtTheInterface) {
  zynParameterNumeric t(PS_REAL, zynDimensions(ZYN_DIM_TIME), 90.0);
  t.set_units(ZYN_UNITS_MINUTE);
  bool failed = true;
  EXPECT_DOUBLE_EQ(t.get_double_in_units(ZYN_UNITS_HOUR, failed), 1.5);
  EXPECT_FALSE(failed);
  EXPECT_DOUBLE_EQ(t.get_double_in_units(ZYN_UNITS_NONE, failed), 90.0);
  EXPECT_TRUE(failed);
  t.set_double_in_units(2.0, ZYN_UNITS_HOUR, failed);
  EXPECT_FALSE(failed);
  EXPECT_EQ(t.get_value(), "120.0");
  t.set_double_in_units(5.0, ZYN_UNITS_NONE, failed);
  EXPECT_TRUE(failed);
  EXPECT_EQ(t.get_value(), "120.0");
}

TEST(ParameterNumeric, RangeClampsReadsAndChecks) {
  zynParameterNumeric p(PS_REAL, none, 12.0);
  EXPECT_TRUE(p.get_range().invalid());
  EXPECT_EQ(p.check_range(), 1);
  p.set_range(zynRange(0.0, 10.0));
  EXPECT_EQ(p.get_double(), 10.0);
  EXPECT_EQ(p.get_int(), 10);
  EXPECT_EQ(p.check_range(), 0);
  EXPECT_EQ(p.get_value(), "12.0");
  p.set_string("-1");
  EXPECT_EQ(p.get_double(), 0.0);
  p.set_string("5");
  EXPECT_EQ(p.check_range(), 1);
  p.set_string("a+");
  EXPECT_EQ(p.check_range(), 0);
  // A range whose minimum exceeds its maximum bounds nothing.
  p.set_range(zynRange(10.0, 0.0));
  p.set_string("12");
  EXPECT_EQ(p.get_double(), 12.0);
  // The evaluated copy carries no range.
  p.set_range(zynRange(0.0, 1.0));
  EXPECT_TRUE(zynParameterNumeric(p).get_range().get_max() == 1.0);
}

TEST(ParameterNumeric, ChangedTextsAreTracked) {
  zynParameterPtr p = make(PS_REAL, 1.0);
  zynParameterUpdateTrack track;
  p->set_string("1.0");
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 0);
  p->set_string("2");
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 1);
  // Building a numeric is no change.
  zynParameterPtr q = make(PS_REAL, 3.0);
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 1);
}

}  // namespace
