// Strings, and through them the scalar base every text value shares.
#include <gtest/gtest.h>

#include "support/zynTestHelpers.h"
#include "zyn/core/zynParameterMap.h"
#include "zyn/host/zynUnitsUtils.h"

namespace {

TEST(ParameterString, ComparesAndConcatenates) {
  zynParameterPtr abc = zyn_string("abc"), abd = zyn_string("abd");
  zynParameterPtr five = zyn_test_number(PS_NUMERIC, 5), real = zyn_test_number(PS_REAL, 5);
  const struct { zynParameterPtr lhs; const char* op; zynParameterPtr rhs; int expected; } cases[] = {
      {abc, "<", abd, 1}, {abc, ">=", abd, 0}, {abd, ">", abc, 1}, {abc, "<=", zyn_string("abc"), 1},
      {abc, "==", abd, 0}, {abc, "!=", abd, 1}, {abc, "==", zyn_string("abc"), 1},
      // Numbers and texts compare as texts: a REAL 5 reads "5.0".
      {zyn_string("10"), "<", five, 1}, {five, "==", zyn_string("5"), 1}, {real, "==", zyn_string("5"), 0},
      {real, "!=", zyn_string("5"), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lhs->get_string() << c.op << c.rhs->get_string());
    zynParameterPtr r = c.lhs->operate_binary(c.op, c.rhs);
    EXPECT_EQ(subtype_of(r), PS_BOOL);
    EXPECT_EQ(r->get_int(), c.expected);
  }
  EXPECT_FALSE(*abc == *zyn_string("ABC"));
  EXPECT_EQ(zyn_string("a")->operate_binary("+", five)->get_string(), "a5");
  zynParameterPtr broken = zyn_test_number(PS_REAL, 0);
  broken->set_string("1 +");
  const struct { zynParameterPtr result; zynParameterSubType code; } failures[] = {
      {abc->operate_binary("*", abd), PS_ERR_TYPE}, {abc->operate_binary("-", abd), PS_ERR_TYPE},
      {abc->operate_prefix("-"), PS_ERR_TYPE}, {five->operate_binary("*", abc), PS_ERR_TYPE},
      {abc->operate_binary("==", broken), PS_ERR_ARGUMENTS}, {abc->operate_binary("+", broken), PS_ERR_ARGUMENTS},
  };
  for (const auto& f : failures) EXPECT_EQ(subtype_of(f.result), f.code);
}

TEST(ParameterString, InterpolatesInItsScope) {
  for (const char* text : {"price is %[p]", "${x}"}) EXPECT_TRUE(zyn_string(text)->is_expr()) << text;
  for (const char* text : {"100%", "cost $p", ""}) EXPECT_FALSE(zyn_string(text)->is_expr()) << text;
  zynParameterPtr scope(new zynParameterMap);
  scope->add("d", zyn_test_number(PS_NUMERIC, 12.5));
  zynParameterPtr s = scope->add("label", zyn_string("d=%[d]"));
  EXPECT_EQ(s->print(0), "(STRING) d=%[d] = d=12.5\n");
  EXPECT_EQ(zyn_string("plain")->print(0), "(STRING) plain\n");
  // A string naming itself ends: the inner read finds the circle and
  // contributes no text.
  EXPECT_EQ(scope->add("self", zyn_string("me=%[self]"))->get_string(), "me=");
  zynParameterPtr plain = zyn_string("plain");
  zynParameterPtr copy = zynEvaluator::evaluate(plain);
  EXPECT_FALSE(copy == plain);
  EXPECT_EQ(zynEvaluator::evaluate(zyn_string("x%[1+1]"))->get_string(), "x2");
}

TEST(ParameterString, LockKeepsTheTextAndResetRestoresTheDefault) {
  zynParameterPtr t = zyn_string("a");
  t->lock(1);
  t->set_string("c");
  EXPECT_EQ(t->get_expr(), "a");
  zynParameterPtr s = zyn_string("first %[x]");
  s->set_string("second");
  s->reset();
  EXPECT_EQ(s->get_expr(), "first %[x]");  // the text itself, not a value frozen without scope
  s->set_defaults("metric", "imperial");
  ASSERT_TRUE(zynUnitsUtils::set_units(zynUnitsImperial));
  s->reset();
  EXPECT_EQ(s->get_expr(), "imperial");
  zynUnitsUtils::set_units(zynUnitsMetric);
  s->reset();
  EXPECT_EQ(s->get_expr(), "metric");
  // Equal texts leave no second default.
  s->set_defaults("same", "same");
  EXPECT_TRUE(s->get_impl()->get(zynParameterImpl::DEFAULT_VALUE_SECOND_UNITS).empty());
  // A copy shares the record, and with it the defaults and the name, but not the text.
  s->set_name("label");
  zynParameterPtr copy = s.copy();
  copy->set_string("x");
  EXPECT_EQ(s->get_expr(), "metric");
  EXPECT_EQ(copy->get_name(), "label");
  copy->reset();
  EXPECT_EQ(copy->get_expr(), "same");
}

}  // namespace
