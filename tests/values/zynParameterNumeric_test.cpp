#include "zyn/values/zynParameterNumeric.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>

#include "support/zynTestHelpers.h"
#include "zyn/core/zynParameterNotify.h"
#include "zyn/core/zynParameterUpdateTrack.h"
#include "zyn/host/zynUnitsUtils.h"

namespace {

const zynDimensions length(ZYN_DIM_LENGTH);

zynParameterPtr make_text(zynParameterSubType s, const utString& text, zynDimensions d = zynDimensions(ZYN_DIM_NONE)) {
  zynParameterPtr p = zyn_test_number(s, 0.0, d);
  p->set_string(text);
  return p;
}

zynParameterNumeric& numeric(const zynParameterPtr& p) { return *zynParameterNumeric::ut_dynamic_cast(p.pointer()); }
utString stored(const zynParameterPtr& p) { return numeric(p).get_value(); }

TEST(ParameterNumeric, TextsAreNormalisedAndRead) {
  // REAL and ANGLE literals are stored with a point and a leading digit.
  const struct { zynParameterSubType subtype; const char *text, *stored; bool is_expr; double value; int as_int; }
  cases[] = {
      {PS_REAL, "5", "5.0", false, 5, 5}, {PS_REAL, "  -.25  ", "-0.25", false, -0.25, 0},
      {PS_ANGLE, ",5", "0.5", false, 0.5, 0}, {PS_REAL, "1,5", "1.5", false, 1.5, 1},
      {PS_REAL, "1.50", "1.50", false, 1.5, 1}, {PS_ANGLE, "+3", "+3.0", false, 3, 3},
      {PS_REAL, "-,75", "-0.75", false, -0.75, 0}, {PS_REAL, "1.", "1.", false, 1, 1},
      {PS_REAL, "-2.7", "-2.7", false, -2.7, -2}, {PS_REAL, "-1e20", "-1e20", false, -1e20, INT_MIN},
      {PS_INT, "2.7", "2.7", false, 2, 2}, {PS_INT, "-2.5", "-2.5", false, -3, -3},
      {PS_INT, "1e20", "1e20", false, INT_MAX, INT_MAX}, {PS_BOOL, "1,5", "1,5", false, 1, 1},
      {PS_BOOL, "0.0001", "0.0001", false, 1, 1}, {PS_BOOL, "0", "0", false, 0, 0},
      {PS_NUMERIC, " -.25", " -.25", false, -0.25, 0}, {PS_NUMERIC, "", "", false, 0, 0},
      // Without an evaluator behind them, expressions that read names read as 0.
      {PS_REAL, "2*a", "2*a", true, 0, 0}, {PS_NUMERIC, "1e", "1e", true, 0, 0},
      {PS_NUMERIC, "1.5.5", "1.5.5", true, 0, 0}, {PS_NUMERIC, "- 1", "- 1", true, -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    zynParameterPtr p = make_text(c.subtype, c.text);
    EXPECT_EQ(stored(p), c.stored);
    EXPECT_EQ(p->is_expr(), c.is_expr);
    EXPECT_EQ(p->get_double(), c.value);
    EXPECT_EQ(p->get_int(), c.as_int);
  }
  EXPECT_EQ(make_text(PS_INT, "-2.5")->get_string(), "-3");
  EXPECT_EQ(make_text(PS_REAL, "2*a")->get_string(), "");
}

TEST(ParameterNumeric, CommaLocaleNormalisesToComma) {
  zynTestDecimalPoint comma(',');
  EXPECT_EQ(stored(make_text(PS_REAL, "5")), "5,0");
  EXPECT_EQ(stored(make_text(PS_REAL, "1.5")), "1,5");
  EXPECT_EQ(stored(make_text(PS_REAL, "-.5")), "-0,5");
  EXPECT_DOUBLE_EQ(make_text(PS_NUMERIC, "2.25")->get_double(), 2.25);
  // Only the first separator is rewritten; the second makes it an expression.
  EXPECT_TRUE(make_text(PS_NUMERIC, "1,5,5")->is_expr());
  EXPECT_EQ(zyn_test_number(PS_REAL, 2.5)->get_string(), "2,5");
}

// Reads of a literal come from a cache once the value is known; the cache
// gives way to whatever can change the value read.
TEST(ParameterNumeric, ReadCacheGivesWayToChanges) {
  zynParameterPtr p = make_text(PS_REAL, "7.5");
  EXPECT_DOUBLE_EQ(p->get_double(), 7.5);
  EXPECT_DOUBLE_EQ(p->get_double(), 7.5);
  numeric(p).set_range(zynRange(0.0, 5.0));
  EXPECT_DOUBLE_EQ(p->get_double(), 5.0);
  numeric(p).set_range(zynRange());
  EXPECT_DOUBLE_EQ(p->get_double(), 7.5);
  p->set_double(2.25);
  EXPECT_DOUBLE_EQ(p->get_double(), 2.25);
  p->set_string("1.5*2");
  EXPECT_DOUBLE_EQ(p->get_double(), 3.0);
  zynParameterPtr q = make_text(PS_NUMERIC, "1,5");
  EXPECT_DOUBLE_EQ(q->get_double(), 1.5);
  zynParameterPtr copy(q->create_new());
  EXPECT_DOUBLE_EQ(copy->get_double(), 1.5);
  {
    // Under a locale whose point is neither separator, "," is no longer one.
    zynTestDecimalPoint odd(';');
    EXPECT_TRUE(q->is_expr());
    EXPECT_DOUBLE_EQ(q->get_double(), 0.0);
  }
  {
    zynTestDecimalPoint comma(',');
    EXPECT_DOUBLE_EQ(copy->get_double(), 1.5);
  }
  EXPECT_FALSE(q->is_expr());
  EXPECT_DOUBLE_EQ(q->get_double(), 1.5);
}

TEST(ParameterNumeric, DoublesRoundTripExactly) {
  for (double v : {0.1, 1.0 / 3.0, -2.5e-300, 1e300, 123456789.125, DBL_MAX, -0.0, 5e-324}) {
    SCOPED_TRACE(v);
    zynParameterPtr p = zyn_test_number(PS_NUMERIC, 0.0);
    p->set_double(v);
    EXPECT_EQ(make_text(PS_NUMERIC, stored(p))->get_double(), v);
    EXPECT_EQ(zyn_test_number(PS_REAL, v)->get_double(), v);
  }
}

int g_modified = 0;
int g_read = 0;

TEST(ParameterNumeric, LockCallbacksAndTracking) {
  zynParameterPtr p = zyn_test_number(PS_REAL, 1.0);
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

  zynParameterPtr q = zyn_test_number(PS_REAL, 1.0);
  EXPECT_EQ(q->set_onmodify_callback([](zynParameter*) { ++g_modified; }), nullptr);
  EXPECT_EQ(q->set_onread_callback([](const zynParameter*) { ++g_read; }), nullptr);
  g_modified = g_read = 0;
  zynParameterUpdateTrack track;
  q->set_string("1.0");  // an unchanged text still notifies, but is no change
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 0);
  q->set_string("2");
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 1);
  EXPECT_EQ(g_modified, 2);
  q->get_double();
  q->get_string();
  EXPECT_EQ(g_read, 2);
  // Building a numeric is no change.
  zyn_test_number(PS_REAL, 3.0);
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 1);
}

TEST(ParameterNumeric, EqualityAndPrint) {
  auto boolean = [](int v) { return zynParameterPtr(zynParameterNumeric::create_bool(v)); };
  // Equality needs the same subtype and dimensions, and allows a tolerance.
  const struct { zynParameterPtr a, b; bool equal; } cases[] = {
      {zyn_test_number(PS_REAL, 1.0), zyn_test_number(PS_REAL, 1.0 + 1e-9), true},
      {zyn_test_number(PS_REAL, 1.0), zyn_test_number(PS_REAL, 1.1), false},
      {zyn_test_number(PS_REAL, 1.0), zyn_test_number(PS_INT, 1.0), false},
      {zyn_test_number(PS_REAL, 1.0, length), zyn_test_number(PS_REAL, 1.0), false},
      {zyn_test_number(PS_INT, 2.2), zyn_test_number(PS_INT, 2.9), true},
      // create_bool gives fresh copies: changing one leaves the prototype alone.
      {boolean(5), zyn_boolean(true), true}, {boolean(1), boolean(0), false},
  };
  for (const auto& c : cases) EXPECT_EQ(*c.a == *c.b, c.equal) << c.a->print(0) << c.b->print(0);
  zynParameterPtr t = boolean(1);
  EXPECT_NE(t.pointer(), cases[5].a.pointer());
  t->set_int(0);
  EXPECT_EQ(boolean(1)->print(0), "(BOOL) 1 \n");
  EXPECT_EQ(zyn_test_number(PS_REAL, 5.0)->print(0), "(REAL) 5.0 \n");
  EXPECT_EQ(make_text(PS_REAL, "5.50")->print(0), "(REAL) 5.50 = 5.5 \n");
  EXPECT_EQ(zyn_test_number(PS_NUMERIC, 2.0, length)->print(0), "(NUMERIC) 2 [L]\n");
  EXPECT_EQ(make_text(PS_INT, "2.7")->print(0), "(INT) 2.7 = 2 \n");
  EXPECT_EQ(make_text(PS_REAL, "2*a")->print(0).substr(0, 10), "(REAL !) 2");
}

TEST(ParameterNumeric, CopyValueFollowsTheTargetSubtype) {
  const struct { zynParameterSubType from; const char* text; zynParameterSubType to; const char* stored; } cases[] = {
      {PS_REAL, "-2.5", PS_INT, "-3"}, {PS_REAL, "0.25", PS_BOOL, "1"}, {PS_INT, "2.5", PS_REAL, "2.5"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    zynParameterPtr target = zyn_test_number(c.to, 0.0);
    target->copy_value_from(*make_text(c.from, c.text));
    EXPECT_EQ(stored(target), c.stored);
    target->copy_value_from(*target);
    EXPECT_EQ(stored(target), c.stored);
  }
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
  // No range, or one whose minimum exceeds its maximum, bounds nothing.
  const struct { zynRange range; const char* text; int value, in_range; } cases[] = {
      {zynRange(), "12", 12, 1}, {zynRange(0, 10), "12", 10, 0}, {zynRange(0, 10), "-1", 0, 0},
      {zynRange(0, 10), "5", 5, 1}, {zynRange(0, 10), "a+", 0, 0}, {zynRange(10, 0), "12", 12, 1}};
  for (const auto& c : cases) {
    zynParameterPtr p = make_text(PS_REAL, c.text);
    numeric(p).set_range(c.range);
    EXPECT_EQ(p->get_int(), c.value) << c.text;
    EXPECT_EQ(numeric(p).check_range(), c.in_range) << c.text;
  }
}

// Numerics whose texts are expressions over other members of a tree.
TEST(ParameterNumeric, ExpressionsEvaluateOnEveryRead) {
  zynParameterPtr map(new zynParameterMap());
  auto add = [&](const char* name, zynParameterSubType s, const char* text, zynDimStandard d = ZYN_DIM_NONE) {
    return map->add(zynParameterKey(name), make_text(s, text, zynDimensions(d)));
  };
  zynParameterPtr a = add("a", PS_REAL, "1.5", ZYN_DIM_LENGTH);
  zynParameterPtr b = add("b", PS_REAL, "2*a", ZYN_DIM_LENGTH);
  EXPECT_EQ(b->print(0), "(REAL) 2*a = 3.0 [L]\n");
  a->set_double(2.0);
  EXPECT_DOUBLE_EQ(b->get_double(), 4.0);
  // The subtype rule applies to the expression's value.
  zynParameterPtr i = add("i", PS_INT, "a+0.7");
  EXPECT_EQ(i->get_double(), 2.0);
  EXPECT_EQ(i->get_string(), "2");
  EXPECT_EQ(add("flag", PS_BOOL, "a-2")->get_double(), 0.0);

  zynParameterPtr self = add("self", PS_REAL, "self+1");
  EXPECT_EQ(self->get_string(), "");
  EXPECT_FALSE(self->is_valid());
  // The guard is cleared: a later read does not hang and still fails the same way.
  EXPECT_EQ(self->get_double(), 0.0);
  EXPECT_EQ(subtype_of(zynParameter::evaluate(*add("text", PS_REAL, "'abc'"))), PS_ERR_TYPE);
  EXPECT_TRUE(zynParameter::evaluate(*add("missing", PS_REAL, "nowhere*2"))->is_error());
}

}  // namespace
