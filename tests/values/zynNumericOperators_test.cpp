#include <gtest/gtest.h>

#include "support/zynTestHelpers.h"
#include "zyn/collections/zynParameterArray.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/values/zynParameterNumeric.h"

namespace {

const zynDimensions length(ZYN_DIM_LENGTH);

zynParameterPtr n(double v) { return zyn_test_number(PS_NUMERIC, v); }
zynParameterPtr r(double v) { return zyn_test_number(PS_REAL, v); }
zynParameterPtr i(double v) { return zyn_test_number(PS_INT, v); }
zynParameterPtr len(double v) { return zyn_test_number(PS_NUMERIC, v, length); }
zynParameterPtr tm(double v) { return zyn_test_number(PS_NUMERIC, v, zynDimensions(ZYN_DIM_TIME)); }

utString dims_of(const zynParameterPtr& p) {
  const zynParameterNumeric* q = zynParameterNumeric::ut_dynamic_cast(p.pointer());
  return q ? q->get_dim().get_string() : "(not numeric)";
}

zynParameterPtr broken() {
  zynParameterPtr p = r(0);
  p->set_string("a+");
  return p;
}

TEST(NumericOperators, ValuesSubtypesAndDimensions) {
  const zynParameterPtr none;
  // "pre" and "post" mark the unary forms; the subtype is an error code when the operator fails.
  const struct { zynParameterPtr lhs; const char* op; zynParameterPtr rhs; zynParameterSubType subtype; double value;
                 const char* dims; } cases[] = {
      // 7/2 on two INTs is an INT holding 3.5, which reads as 3; "%" keeps the left subtype even against a REAL.
      {i(7), "/", i(2), PS_INT, 3, ""}, {n(1), "+", r(2.5), PS_REAL, 3.5, ""}, {r(2.5), "+", n(1), PS_REAL, 3.5, ""},
      {zyn_test_number(PS_ANGLE, 1), "+", r(1), PS_REAL, 2, ""},
      {r(1), "+", zyn_test_number(PS_ANGLE, 1), PS_ANGLE, 2, ""},
      {zyn_test_number(PS_BOOL, 1), "+", n(1), PS_BOOL, 1, ""}, {i(1), "*", zyn_test_number(PS_BOOL, 1), PS_INT, 1, ""},
      {i(7), "%", r(2), PS_INT, 1, ""}, {len(6), "+", len(1), PS_NUMERIC, 7, "[L]"},

      // Mismatched sums are no error: the dimensions become invalid.
      {len(6), "+", tm(4), PS_NUMERIC, 10, "[!]"}, {len(6), "/", tm(4), PS_NUMERIC, 1.5, "[L/T]"},
      {len(6), "*", len(6), PS_NUMERIC, 36, "[LL]"}, {len(6), "%", tm(4), PS_NUMERIC, 2, "[L]"},
      {n(-7), "%", n(2), PS_NUMERIC, -1, ""},
      // A REAL exponent never carries dimensions, even when integral.
      {len(2), "^", n(2), PS_NUMERIC, 4, "[LL]"}, {len(2), "^", n(0), PS_NUMERIC, 1, ""},
      {len(2), "^", r(2), PS_REAL, 4, ""}, {len(2), "^", n(-1), PS_NUMERIC, 0.5, "[1/L]"},
      {n(-2), "^", n(3), PS_NUMERIC, -8, ""}, {n(8), "^", n(1.0 / 3), PS_NUMERIC, 2, ""},
      {n(-8), "^", n(1.0 / 3), PS_ERR_DOMAIN, 0, ""}, {n(-8), "^", n(-0.5), PS_ERR_DOMAIN, 0, ""},
      // An INT right operand that reads as 0 divides by zero too.
      {n(5), "/", n(0), PS_ERR_DIVIDE_BY_ZERO, 0, ""}, {n(5), "%", n(0), PS_ERR_DIVIDE_BY_ZERO, 0, ""},
      {n(5), "/", i(0.5), PS_ERR_DIVIDE_BY_ZERO, 0, ""},
      // Only equality has a tolerance; comparisons check no subtype or dimension.
      {n(1), "==", n(1 + 1e-12), PS_BOOL, 1, ""}, {n(1), "!=", n(1 + 1e-12), PS_BOOL, 0, ""},
      {n(1), "<", n(1 + 1e-12), PS_BOOL, 1, ""}, {n(1), "<=", n(1), PS_BOOL, 1, ""}, {n(2), ">", n(2), PS_BOOL, 0, ""},
      {zyn_test_number(PS_REAL, 3, length), "==", i(3.7), PS_BOOL, 1, ""},
      // Logic needs integral NUMERIC or BOOL operands; -2.5 is not integral (the remainder is taken by magnitude).
      {n(2), "&", n(1), PS_BOOL, 1, ""}, {n(0), "|", zyn_test_number(PS_BOOL, 1), PS_BOOL, 1, ""},
      {n(1), "xor", n(3), PS_BOOL, 0, ""}, {n(0.5), "&", n(1), PS_ERR_TYPE, 0, ""},
      {n(1), "|", r(1), PS_ERR_TYPE, 0, ""}, {i(1), "xor", n(1), PS_ERR_TYPE, 0, ""},
      {n(-2.5), "&", n(1), PS_ERR_TYPE, 0, ""}, {zyn_test_number(PS_REAL, 2, length), "pre-", none, PS_REAL, -2, "[L]"},
      {r(0), "pre!", none, PS_REAL, 1, ""}, {i(3), "pre+", none, PS_INT, 3, ""},
      {n(1), "pre~", none, PS_ERR_TYPE, 0, ""}, {n(5), "postmm", none, PS_NUMERIC, 5, "[L]"},
      {n(2), "postm", none, PS_NUMERIC, 2000, "[L]"}, {n(1), "postft", none, PS_NUMERIC, 304.8, "[L]"},
      {r(1), "postmm", none, PS_ERR_TYPE, 0, ""}, {n(1), "postkm", none, PS_ERR_TYPE, 0, ""},
      {n(1), "post!", none, PS_ERR_SYNTAX, 0, ""},
      // A binary operator hands on its operand's error; a unary one answers invalid arguments.
      {broken(), "+", n(1), PS_ERR_SYNTAX, 0, ""}, {n(1), "+", broken(), PS_ERR_SYNTAX, 0, ""},
      {broken(), "pre-", none, PS_ERR_ARGUMENTS, 0, ""}, {broken(), "postmm", none, PS_ERR_ARGUMENTS, 0, ""},
      {n(1), "*", zynParameterError::create(PS_ERR_NAME), PS_ERR_NAME, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lhs->get_expr() << " " << c.op);
    const utString op = c.op;
    zynParameterPtr result = op.compare(0, 3, "pre") == 0    ? c.lhs->operate_prefix(op.substr(3))
                             : op.compare(0, 4, "post") == 0 ? c.lhs->operate_postfix(op.substr(4))
                                                             : c.lhs->operate_binary(op, c.rhs);
    EXPECT_EQ(subtype_of(result), c.subtype);
    if (result->is_error()) continue;
    EXPECT_DOUBLE_EQ(result->get_double(), c.value);
    EXPECT_EQ(dims_of(result), c.dims);
  }
  EXPECT_DOUBLE_EQ(n(5)->operate_postfix("mm")->operate_binary("+", n(1)->operate_postfix("in"))->get_double(), 30.4);
}

TEST(NumericOperators, BroadcastOverArrays) {
  zynParameterPtr items(new zynParameterArray());
  items->add(zynParameterKey(), n(1));
  items->add(zynParameterKey(), zyn_test_number(PS_REAL, 2, length));
  zynParameterPtr sum = n(3)->operate_binary("+", items);
  ASSERT_EQ(zynParameter::get_type(*sum), PT_ARRAY);
  ASSERT_EQ(sum->size(), 2);
  EXPECT_EQ(sum[zynParameterKey(0, "")]->get_double(), 4.0);
  EXPECT_EQ(sum[zynParameterKey(1, "")]->get_double(), 5.0);
  EXPECT_EQ(subtype_of(sum[zynParameterKey(1, "")]), PS_REAL);
  // Errors stay per item; the operands are untouched.
  zynParameterPtr quotient = n(1)->operate_binary("/", n(0)->operate_binary("*", items));
  EXPECT_EQ(subtype_of(quotient[zynParameterKey(0, "")]), PS_ERR_DIVIDE_BY_ZERO);
  EXPECT_EQ(items[zynParameterKey(0, "")]->get_double(), 1.0);
  // Indexing is no broadcast.
  EXPECT_TRUE(n(1)->operate_binary("[", items)->is_error());
  // Nesting is bounded.
  zynParameterPtr nest = n(1);
  for (int i = 0; i < 100; ++i) {
    zynParameterPtr outer(new zynParameterArray());
    outer->add(zynParameterKey(), nest);
    nest = outer;
  }
  zynParameterPtr deep = n(1)->operate_binary("+", nest);
  for (int i = 0; i < 64; ++i) deep = deep[zynParameterKey(0, "")];
  EXPECT_EQ(subtype_of(deep), PS_ERR_ARGUMENTS);
}

}  // namespace
