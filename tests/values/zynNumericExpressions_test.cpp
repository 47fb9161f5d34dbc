// Numerics whose texts are expressions over other parameters of a tree.
#include <gtest/gtest.h>

#include "zyn/zyn.h"

namespace {

const zynDimensions none(ZYN_DIM_NONE);
const zynDimensions length(ZYN_DIM_LENGTH);

class NumericExpressions : public ::testing::Test {
 protected:
  zynParameterPtr add(const char* name, zynParameterSubType s, const utString& text, const zynDimensions& d = none) {
    zynParameterPtr p(new zynParameterNumeric(s, d, 0.0));
    p->set_string(text);
    m_map->add(zynParameterKey(name), p);
    return p;
  }
  zynParameterPtr eval(const utString& text) { return zynEvaluator(m_map.pointer()).evaluate(text); }

  zynParameterPtr m_map{new zynParameterMap()};
};

TEST_F(NumericExpressions, ExpressionsEvaluateOnEveryRead) {
  zynParameterPtr a = add("a", PS_REAL, "1.5", length);
  zynParameterPtr b = add("b", PS_REAL, "2*a", length);
  EXPECT_TRUE(b->is_expr());
  EXPECT_DOUBLE_EQ(b->get_double(), 3.0);
  EXPECT_EQ(b->get_string(), "3.0");
  EXPECT_EQ(b->print(0), "(REAL) 2*a = 3.0 [L]\n");
  a->set_double(2.0);
  EXPECT_DOUBLE_EQ(b->get_double(), 4.0);
  // The subtype rule applies to the expression's value.
  zynParameterPtr i = add("i", PS_INT, "a+0.7");
  EXPECT_EQ(i->get_double(), 2.0);
  EXPECT_EQ(i->get_string(), "2");
  zynParameterPtr flag = add("flag", PS_BOOL, "a-2");
  EXPECT_EQ(flag->get_double(), 0.0);
  EXPECT_TRUE(i->check_range());
}

TEST_F(NumericExpressions, FailuresReadAsZero) {
  zynParameterPtr self = add("self", PS_REAL, "self+1");
  EXPECT_EQ(self->get_double(), 0.0);
  EXPECT_EQ(self->get_string(), "");
  EXPECT_FALSE(self->is_valid());
  EXPECT_EQ(self->print(0).substr(0, 9), "(REAL !) ");
  // The guard is cleared: a later read does not hang and still fails the same way.
  EXPECT_EQ(self->get_double(), 0.0);
  zynParameterPtr text = add("text", PS_REAL, "'abc'");
  EXPECT_EQ(zynParameter::get_subtype(*zynParameter::evaluate(*text)), PS_ERR_TYPE);
  zynParameterPtr missing = add("missing", PS_REAL, "nowhere*2");
  EXPECT_TRUE(zynParameter::evaluate(*missing)->is_error());
}

TEST_F(NumericExpressions, OperatorsThroughTheEvaluator) {
  EXPECT_DOUBLE_EQ(eval("5 mm + 1 in")->get_double(), 30.4);
  EXPECT_EQ(zynParameterNumeric::ut_dynamic_cast(eval("2 m ^ 2").pointer())->get_dim().get_string(), "[LL]");
  EXPECT_EQ(zynParameter::get_subtype(*eval("(-8) ^ (1/3)")), PS_ERR_DOMAIN);
  EXPECT_EQ(zynParameter::get_subtype(*eval("5 % 0")), PS_ERR_DIVIDE_BY_ZERO);
  EXPECT_EQ(eval("1 == 1 + 1e-12")->get_int(), 1);
  EXPECT_EQ(eval("2 & 1")->get_int(), 1);
  EXPECT_EQ(zynParameter::get_subtype(*eval("0.5 & 1")), PS_ERR_TYPE);
  // -2.5 is not integral (the remainder -0.5 is taken by magnitude).
  EXPECT_EQ(zynParameter::get_subtype(*eval("(-2.5) & 1")), PS_ERR_TYPE);
  EXPECT_EQ(zynParameter::get_subtype(*eval("(-8) ^ (-2.5)")), PS_ERR_DOMAIN);
  zynParameterPtr sum = eval("3 + {1, 2}");
  ASSERT_EQ(sum->size(), 2);
  EXPECT_EQ(sum[zynParameterKey(1, "")]->get_double(), 5.0);
  EXPECT_EQ(eval("1 + 'x'")->get_string(), "1x");
  EXPECT_EQ(eval("'x' + 2.5")->get_string(), "x2.5");
}

}  // namespace
