#include <gtest/gtest.h>

#include "zyn/collections/zynParameterArray.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/host/zynUnitsUtils.h"
#include "zyn/values/zynParameterNumeric.h"

namespace {

const zynDimensions none(ZYN_DIM_NONE);
const zynDimensions length(ZYN_DIM_LENGTH);
const zynDimensions time_dims(ZYN_DIM_TIME);

zynParameterPtr num(zynParameterSubType s, double v, const zynDimensions& d = none) {
  return zynParameterPtr(new zynParameterNumeric(s, d, v));
}
zynParameterPtr n(double v) { return num(PS_NUMERIC, v); }

const zynParameterNumeric& as_num(const zynParameterPtr& p) {
  const zynParameterNumeric* q = zynParameterNumeric::ut_dynamic_cast(p.pointer());
  EXPECT_NE(q, nullptr);
  static const zynParameterNumeric missing(PS_NUMERIC, none, 0.0);
  return q ? *q : missing;
}

zynParameterSubType sub(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

bool is_error(const zynParameterPtr& p, zynParameterSubType code) { return p->is_error() && sub(p) == code; }

TEST(NumericOperators, SubtypePromotion) {
  // 7/2 on two INTs is an INT holding 3.5, which reads as 3.
  zynParameterPtr q = num(PS_INT, 7)->operate_binary("/", num(PS_INT, 2));
  EXPECT_EQ(sub(q), PS_INT);
  EXPECT_EQ(as_num(q).get_value(), "3.5");
  EXPECT_EQ(q->get_double(), 3.0);
  EXPECT_EQ(sub(n(1)->operate_binary("+", num(PS_REAL, 2.5))), PS_REAL);
  EXPECT_EQ(sub(num(PS_REAL, 2.5)->operate_binary("+", n(1))), PS_REAL);
  EXPECT_EQ(sub(num(PS_ANGLE, 1)->operate_binary("+", num(PS_REAL, 1))), PS_REAL);
  EXPECT_EQ(sub(num(PS_REAL, 1)->operate_binary("+", num(PS_ANGLE, 1))), PS_ANGLE);
  EXPECT_EQ(sub(num(PS_BOOL, 1)->operate_binary("+", n(1))), PS_BOOL);
  EXPECT_EQ(sub(num(PS_INT, 1)->operate_binary("*", num(PS_BOOL, 1))), PS_INT);
  // "%" keeps the left subtype even against a REAL.
  EXPECT_EQ(sub(num(PS_INT, 7)->operate_binary("%", num(PS_REAL, 2))), PS_INT);
}

TEST(NumericOperators, ArithmeticValuesAndDimensions) {
  zynParameterPtr a = num(PS_NUMERIC, 6, length);
  zynParameterPtr b = num(PS_NUMERIC, 4, time_dims);
  EXPECT_EQ(a->operate_binary("+", num(PS_NUMERIC, 1, length))->get_double(), 7.0);
  EXPECT_EQ(as_num(a->operate_binary("-", num(PS_NUMERIC, 1, length))).get_dim(), length);
  // Mismatched sums are no error: the dimensions become invalid.
  zynParameterPtr bad = a->operate_binary("+", b);
  EXPECT_FALSE(bad->is_error());
  EXPECT_TRUE(as_num(bad).get_dim().invalid());
  EXPECT_EQ(bad->print(0), "(NUMERIC) 10 [!]\n");
  zynParameterPtr speed = a->operate_binary("/", b);
  EXPECT_EQ(speed->get_double(), 1.5);
  EXPECT_EQ(as_num(speed).get_dim(), zynDimensions(ZYN_DIM_SPEED));
  EXPECT_EQ(as_num(a->operate_binary("*", a)).get_dim(), zynDimensions(ZYN_DIM_AREA));
  zynParameterPtr rem = a->operate_binary("%", num(PS_NUMERIC, 4, time_dims));
  EXPECT_EQ(rem->get_double(), 2.0);
  EXPECT_EQ(as_num(rem).get_dim(), length);
  EXPECT_EQ(n(-7)->operate_binary("%", n(2))->get_double(), -1.0);
}

TEST(NumericOperators, Powers) {
  zynParameterPtr two_m = num(PS_NUMERIC, 2, length);
  zynParameterPtr sq = two_m->operate_binary("^", n(2));
  EXPECT_EQ(sq->get_double(), 4.0);
  EXPECT_EQ(as_num(sq).get_dim().get_string(), "[LL]");
  zynParameterPtr one = two_m->operate_binary("^", n(0));
  EXPECT_EQ(one->get_double(), 1.0);
  EXPECT_EQ(as_num(one).get_dim().get_string(), "");
  // A REAL exponent never carries dimensions, even when integral.
  EXPECT_EQ(as_num(two_m->operate_binary("^", num(PS_REAL, 2))).get_dim().get_string(), "");
  EXPECT_EQ(as_num(two_m->operate_binary("^", n(-1))).get_dim().get_string(), "[1/L]");
  EXPECT_TRUE(is_error(n(-8)->operate_binary("^", n(1.0 / 3.0)), PS_ERR_DOMAIN));
  EXPECT_TRUE(is_error(n(-8)->operate_binary("^", n(-0.5)), PS_ERR_DOMAIN));
  EXPECT_EQ(n(-2)->operate_binary("^", n(3))->get_double(), -8.0);
  EXPECT_DOUBLE_EQ(n(8)->operate_binary("^", n(1.0 / 3.0))->get_double(), 2.0);
}

TEST(NumericOperators, DivideByZero) {
  EXPECT_TRUE(is_error(n(5)->operate_binary("/", n(0)), PS_ERR_DIVIDE_BY_ZERO));
  EXPECT_TRUE(is_error(n(5)->operate_binary("%", n(0)), PS_ERR_DIVIDE_BY_ZERO));
  // An INT right operand that reads as 0 divides by zero too.
  EXPECT_TRUE(is_error(n(5)->operate_binary("/", num(PS_INT, 0.5)), PS_ERR_DIVIDE_BY_ZERO));
  EXPECT_EQ(n(0)->operate_binary("/", n(5))->get_double(), 0.0);
}

TEST(NumericOperators, ComparisonsUseToleranceOnlyForEquality) {
  auto truth = [](const zynParameterPtr& p) {
    EXPECT_EQ(zynParameter::get_subtype(*p), PS_BOOL);
    return p->get_int();
  };
  EXPECT_EQ(truth(n(1)->operate_binary("==", n(1 + 1e-12))), 1);
  EXPECT_EQ(truth(n(1)->operate_binary("!=", n(1 + 1e-12))), 0);
  EXPECT_EQ(truth(n(1)->operate_binary("<", n(1 + 1e-12))), 1);
  EXPECT_EQ(truth(n(1)->operate_binary("<=", n(1))), 1);
  EXPECT_EQ(truth(n(2)->operate_binary(">=", n(1))), 1);
  EXPECT_EQ(truth(n(2)->operate_binary(">", n(2))), 0);
  EXPECT_EQ(truth(n(1)->operate_binary("==", n(2))), 0);
  // No subtype or dimension check.
  EXPECT_EQ(truth(num(PS_REAL, 3, length)->operate_binary("==", num(PS_INT, 3.7))), 1);
}

TEST(NumericOperators, LogicNeedsIntegralNumericOrBool) {
  EXPECT_EQ(n(2)->operate_binary("&", n(1))->get_int(), 1);
  EXPECT_EQ(n(0)->operate_binary("|", num(PS_BOOL, 1))->get_int(), 1);
  EXPECT_EQ(n(1)->operate_binary("xor", n(3))->get_int(), 0);
  EXPECT_EQ(n(0)->operate_binary("&", n(1))->get_int(), 0);
  EXPECT_TRUE(is_error(n(0.5)->operate_binary("&", n(1)), PS_ERR_TYPE));
  EXPECT_TRUE(is_error(n(1)->operate_binary("|", num(PS_REAL, 1)), PS_ERR_TYPE));
  EXPECT_TRUE(is_error(num(PS_INT, 1)->operate_binary("xor", n(1)), PS_ERR_TYPE));
  EXPECT_TRUE(is_error(n(-1.5)->operate_binary("&", n(1)), PS_ERR_TYPE));
}

TEST(NumericOperators, PrefixKeepsSubtypeAndDimensions) {
  zynParameterPtr neg = num(PS_REAL, 2, length)->operate_prefix("-");
  EXPECT_EQ(neg->get_double(), -2.0);
  EXPECT_EQ(sub(neg), PS_REAL);
  EXPECT_EQ(as_num(neg).get_dim(), length);
  zynParameterPtr notted = num(PS_REAL, 0)->operate_prefix("!");
  EXPECT_EQ(sub(notted), PS_REAL);
  EXPECT_EQ(notted->get_double(), 1.0);
  EXPECT_EQ(num(PS_INT, 3)->operate_prefix("+")->get_double(), 3.0);
  EXPECT_TRUE(is_error(n(1)->operate_prefix("~"), PS_ERR_TYPE));
}

TEST(NumericOperators, LengthSuffixesOnNumericOnly) {
  zynParameterPtr five_mm = n(5)->operate_postfix("mm");
  zynParameterPtr one_in = n(1)->operate_postfix("in");
  EXPECT_EQ(as_num(five_mm).get_dim(), length);
  zynParameterPtr sum = five_mm->operate_binary("+", one_in);
  EXPECT_DOUBLE_EQ(sum->get_double(), 30.4);
  EXPECT_EQ(as_num(sum).get_dim(), length);
  EXPECT_DOUBLE_EQ(n(2)->operate_postfix("m")->get_double(), 2000.0);
  EXPECT_DOUBLE_EQ(n(1)->operate_postfix("ft")->get_double(), 304.8);
  EXPECT_DOUBLE_EQ(n(3)->operate_postfix("um")->get_double(), 0.003);
  EXPECT_TRUE(is_error(num(PS_REAL, 1)->operate_postfix("mm"), PS_ERR_TYPE));
  EXPECT_TRUE(is_error(n(1)->operate_postfix("km"), PS_ERR_TYPE));
  EXPECT_TRUE(is_error(n(1)->operate_postfix("!"), PS_ERR_SYNTAX));
}

TEST(NumericOperators, LengthSuffixesFollowTheUnitSystem) {
  ASSERT_TRUE(zynUnitsUtils::set_units(zynUnitsImperial));
  double inch = n(1)->operate_postfix("in")->get_double();
  double mm = n(25.4)->operate_postfix("mm")->get_double();
  zynUnitsUtils::set_units(zynUnitsMetric);
  EXPECT_DOUBLE_EQ(inch, 1.0);
  EXPECT_DOUBLE_EQ(mm, 1.0);
}

TEST(NumericOperators, ErrorOperandsPassThrough) {
  zynParameterPtr broken(new zynParameterNumeric(PS_REAL, none, 0));
  broken->set_string("a+");
  EXPECT_TRUE(broken->operate_binary("+", n(1))->is_error());
  EXPECT_TRUE(n(1)->operate_binary("+", broken)->is_error());
  EXPECT_TRUE(is_error(broken->operate_prefix("-"), PS_ERR_ARGUMENTS));
  EXPECT_TRUE(is_error(broken->operate_postfix("mm"), PS_ERR_ARGUMENTS));
  zynParameterPtr err = zynParameterError::create(PS_ERR_NAME);
  EXPECT_TRUE(is_error(n(1)->operate_binary("*", err), PS_ERR_NAME));
}

TEST(NumericOperators, BroadcastOverArrays) {
  zynParameterPtr items(new zynParameterArray());
  items->add(zynParameterKey(), n(1));
  items->add(zynParameterKey(), num(PS_REAL, 2, length));
  zynParameterPtr sum = n(3)->operate_binary("+", items);
  ASSERT_EQ(zynParameter::get_type(*sum), PT_ARRAY);
  ASSERT_EQ(sum->size(), 2);
  EXPECT_EQ(sum[zynParameterKey(0, "")]->get_double(), 4.0);
  EXPECT_EQ(sum[zynParameterKey(1, "")]->get_double(), 5.0);
  EXPECT_EQ(sub(sum[zynParameterKey(1, "")]), PS_REAL);
  EXPECT_EQ(sub(n(1)->operate_binary("<", items)[zynParameterKey(1, "")]), PS_BOOL);
  // Errors stay per item; the operands are untouched.
  zynParameterPtr quotient = n(1)->operate_binary("/", n(0)->operate_binary("*", items));
  EXPECT_TRUE(is_error(quotient[zynParameterKey(0, "")], PS_ERR_DIVIDE_BY_ZERO));
  EXPECT_EQ(items[zynParameterKey(0, "")]->get_double(), 1.0);
  // Indexing is no broadcast.
  EXPECT_TRUE(n(1)->operate_binary("[", items)->is_error());
}

TEST(NumericOperators, DeeplyNestedBroadcastIsBounded) {
  zynParameterPtr nest = n(1);
  for (int i = 0; i < 100; ++i) {
    zynParameterPtr outer(new zynParameterArray());
    outer->add(zynParameterKey(), nest);
    nest = outer;
  }
  zynParameterPtr sum = n(1)->operate_binary("+", nest);
  for (int i = 0; i < 64; ++i) sum = sum[zynParameterKey(0, "")];
  EXPECT_TRUE(is_error(sum, PS_ERR_ARGUMENTS));
}

}  // namespace
