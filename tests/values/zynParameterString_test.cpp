#include <gtest/gtest.h>

#include "support/zynTestScope.h"
#include "zyn/zyn.h"

namespace {

int subtype_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

TEST(ParameterString, TellsExpressionsByTheirOpeners) {
  EXPECT_TRUE(zyn_string("price is %[p]")->is_expr());
  EXPECT_TRUE(zyn_string("${x}")->is_expr());
  EXPECT_FALSE(zyn_string("100%")->is_expr());
  EXPECT_FALSE(zyn_string("cost $p")->is_expr());
  EXPECT_EQ(subtype_of(zyn_string("x")), PS_STRING);
  EXPECT_EQ(zynParameter::get_type(*zyn_string("x")), PT_STRING);
}

TEST(ParameterString, ComparesAndConcatenates) {
  zynParameterPtr abc = zyn_string("abc"), abd = zyn_string("abd");
  EXPECT_EQ(abc->operate_binary("<", abd)->get_int(), 1);
  EXPECT_EQ(abc->operate_binary(">=", abd)->get_int(), 0);
  EXPECT_EQ(abd->operate_binary(">", abc)->get_int(), 1);
  EXPECT_EQ(abc->operate_binary("<=", zyn_string("abc"))->get_int(), 1);
  EXPECT_EQ(subtype_of(abc->operate_binary("<", abd)), PS_BOOL);
  EXPECT_EQ(abc->operate_binary("==", abd)->get_int(), 0);
  EXPECT_EQ(abc->operate_binary("!=", abd)->get_int(), 1);
  zynParameterPtr five(new zynParameterNumeric(PS_NUMERIC, zynDimensions(ZYN_DIM_NONE), 5));
  EXPECT_EQ(zyn_string("a")->operate_binary("+", five)->get_string(), "a5");
  EXPECT_EQ(zyn_string("10")->operate_binary("<", five)->get_int(), 1);  // as texts
  EXPECT_EQ(subtype_of(abc->operate_binary("*", abd)), PS_ERR_TYPE);
  EXPECT_EQ(subtype_of(abc->operate_prefix("-")), PS_ERR_TYPE);
}

TEST(ParameterString, NeverReadsAsANumber) {
  zynParameterPtr s = zyn_string("12");
  EXPECT_EQ(s->get_double(), 0.0);
  EXPECT_EQ(s->get_int(), 0);
  s->set_double(3.0);
  EXPECT_EQ(s->get_string(), "12");
}

TEST(ParameterString, InterpolatesInItsScope) {
  zynParameterPtr scope(new zynTestScope);
  scope->add("d", zynParameterPtr(new zynParameterNumeric(PS_NUMERIC, zynDimensions(ZYN_DIM_NONE), 12.5)));
  zynParameterPtr s = scope->add("label", zyn_string("d=%[d]"));
  EXPECT_EQ(s->get_string(), "d=12.5");
  EXPECT_EQ(s->get_expr(), "d=%[d]");
  EXPECT_EQ(s->print(0), "(STRING) d=%[d] = d=12.5\n");
  EXPECT_EQ(zyn_string("plain")->print(0), "(STRING) plain\n");
  // A string naming itself ends: the inner read finds the circle and
  // contributes no text.
  zynParameterPtr self = scope->add("self", zyn_string("me=%[self]"));
  EXPECT_EQ(self->get_string(), "me=");
}

TEST(ParameterString, EvaluatesToACopyOrAnInterpolation) {
  zynParameterPtr plain = zyn_string("plain");
  zynParameterPtr copy = zynEvaluator::evaluate(plain);
  EXPECT_FALSE(copy == plain);
  EXPECT_EQ(copy->get_string(), "plain");
  zynParameterPtr expr = zyn_string("x%[1+1]");
  EXPECT_EQ(zynEvaluator::evaluate(expr)->get_string(), "x2");
  EXPECT_TRUE(expr->is_valid());
}

TEST(ParameterString, ResetRestoresTheConstructorText) {
  zynParameterPtr s = zyn_string("first %[x]");
  s->set_string("second");
  EXPECT_EQ(s->get_expr(), "second");
  s->reset();
  EXPECT_EQ(s->get_expr(), "first %[x]");  // the text itself, not a value frozen without scope
  zynParameterPtr d = zyn_string("a");
  d->set_defaults("b", "b");
  d->set_string("c");
  d->reset();
  EXPECT_EQ(d->get_expr(), "b");
}

TEST(ParameterString, LockedStringKeepsItsText) {
  zynParameterPtr s = zyn_string("kept");
  s->lock(1);
  s->set_string("lost");
  EXPECT_EQ(s->get_expr(), "kept");
}

TEST(ParameterString, CopiesShareTheRecordButNotTheText) {
  zynParameterPtr s = zyn_string("one");
  s->set_name("label");
  zynParameterPtr c = s.copy();
  c->set_string("two");
  EXPECT_EQ(s->get_expr(), "one");
  EXPECT_EQ(c->get_name(), "label");
}

}  // namespace
