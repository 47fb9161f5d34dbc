#include "zyn/core/zynParameterIter.h"

#include <gtest/gtest.h>

#include "zyn/zyn.h"

namespace {

// Returns the keys a walk yields, separated by blanks.
utString keys_of(zynParameterIter& walk) {
  utString out;
  while (++walk) out += walk.index().str() + " ";
  return out;
}

class IterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    a = top->add("a", zyn_map());
    a->add("b", zyn_real(1));
    a->add("c", zyn_real(2));
  }
  zynParameterPtr top = zyn_map();
  zynParameterPtr a;
};

TEST_F(IterTest, PreOrderWalkAndSwitches) {
  zynParameterIter all(top);
  EXPECT_EQ(keys_of(all), "a a.b a.c ");
  zynParameterIter shallow(top);
  shallow.set_max_depth(1);
  EXPECT_EQ(keys_of(shallow), "a ");
  // A finished walk has no current parameter; reset starts it again.
  EXPECT_EQ(zynParameter::get_subtype(*all()), PS_ERR_NAME);
  EXPECT_EQ(all.index().str(), "");
  all.reset();
  EXPECT_EQ(keys_of(all), "a a.b a.c ");
  zynParameterIter copy(shallow);
  EXPECT_EQ(keys_of(copy), "a ");
}

TEST_F(IterTest, EmptySubmapsFunctionsAndReservedNames) {
  top->add("empty", zyn_map());
  top->add("f", zyn_function("1"));
  zynParameterPtr tmp = top->add("_tmp", zyn_map());
  tmp->add("x", zyn_real(3));
  zynParameterIter walk(top);
  EXPECT_EQ(keys_of(walk), "a a.b a.c empty _tmp _tmp.x ");
  zynParameterIter leaves(top);
  leaves.set_leaf_only(1);
  EXPECT_EQ(keys_of(leaves), "a.b a.c _tmp.x ");
  zynParameterIter functions(top);
  functions.exclude_functions(0);
  EXPECT_EQ(keys_of(functions), "a a.b a.c empty f _tmp _tmp.x ");
  zynParameterIter unreserved(top);
  unreserved.exclude_reserved();
  EXPECT_EQ(keys_of(unreserved), "a a.b a.c empty _tmp.x ");
  EXPECT_TRUE(zynParameterIter::reserved("_x"));
  EXPECT_FALSE(zynParameterIter::reserved("x_"));
}

TEST_F(IterTest, NonContainersYieldNothing) {
  zynParameterIter walk(zyn_real(1));
  EXPECT_FALSE(++walk);
  zynParameterIter none{zynParameterPtr()};
  EXPECT_FALSE(++none);
  zynSingleParIter single;
  EXPECT_TRUE(single.undefined());
  EXPECT_FALSE(++single);
}

TEST(QueryParameter, HostEvaluation) {
  zynQueryParameter& query = zynQueryParameter::singleton();
  query.set_eval_fn([](const utString& e) -> utString {
    if (e == "seven") return "7";
    if (e == "half") return "0.5";
    if (e == "word") return "abc";
    return "";
  });
  EXPECT_EQ(query.evaluate_expression_string(""), "");
  EXPECT_EQ(query.evaluate_expression_string("seven"), "7");
  EXPECT_EQ(query.evaluate_expression_int("seven"), 7);
  EXPECT_EQ(query.evaluate_expression_int("word"), 2147483647);
  EXPECT_EQ(query.evaluate_expression_int("nothing"), 2147483647);
  EXPECT_EQ(query.evaluate_expression_int(""), 2147483647);
  EXPECT_DOUBLE_EQ(query.evaluate_expression_double("half"), 0.5);
  EXPECT_EQ(query.evaluate_expression_double("word"), 1.7976931348623157e308);
  zynQueryParameter::delete_singleton();
  EXPECT_EQ(zynQueryParameter::singleton().evaluate_expression_string("seven"), "");
  zynQueryParameter::delete_singleton();
}

}  // namespace
