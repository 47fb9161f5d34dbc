#include "zyn/collections/zynParameterArray.h"

#include <gtest/gtest.h>

#include "support/zynTestHelpers.h"
#include "zyn/core/zynParameterError.h"

namespace {

zynParameterKey at(int i) { return zynParameterKey(i, utString()); }

// An array of test values 0..n-1.
zynParameterPtr numbers(int n) {
  zynParameterPtr a(new zynParameterArray());
  for (int i = 0; i < n; ++i) a->add(zynParameterKey(), zyn_test_number(PS_INT, i));
  return a;
}

std::vector<int> values(const zynParameterPtr& a) {
  std::vector<int> out;
  for (int i = 0; i < a->size(); ++i) out.push_back(a[at(i)]->get_int());
  return out;
}

TEST(ParameterArray, LockedArrayRefusesChangesButTakesValues) {
  zynParameterPtr a = numbers(2);
  a->lock(1);
  EXPECT_EQ(subtype_of(a->add(zynParameterKey(), zyn_test_number(PS_INT, 5))), PS_ERR_UNKNOWN);
  a->reset();
  EXPECT_EQ(a->size(), 2);
  a->copy_value_from(*numbers(1));  // copying values does not consult the lock
  EXPECT_EQ(a->size(), 1);
}

TEST(ParameterArray, CopiesAreDeepAndEqual) {
  zynParameterPtr a = numbers(3);
  zynParameterPtr b = a.copy();
  EXPECT_NE(b[at(0)].pointer(), a[at(0)].pointer());
  EXPECT_EQ(b[at(0)]->parent(), b.pointer());
  EXPECT_TRUE(*a == *b);
  b[at(2)]->set_int(9);
  EXPECT_TRUE(*a != *b);
  EXPECT_TRUE(*a != *numbers(2));
}

TEST(ParameterArray, ConcatenationMakesAPlainArrayOfCopies) {
  zynParameterPtr left = numbers(2), right = numbers(3);
  zynParameterPtr sum = left->operate_binary("+", right);
  EXPECT_EQ(values(sum), (std::vector<int>{0, 1, 0, 1, 2}));
  EXPECT_NE(sum[at(2)].pointer(), right[at(0)].pointer());
  EXPECT_EQ(sum[at(4)]->parent(), sum.pointer());
  EXPECT_EQ(left->size(), 2);
  EXPECT_EQ(subtype_of(left->operate_binary("*", right)), PS_ERR_TYPE);
}

TEST(ParameterArray, UnaryOperatorsWorkElementWise) {
  zynParameterPtr a = numbers(3);
  EXPECT_EQ(values(a->operate_prefix("-")), (std::vector<int>{0, -1, -2}));
  zynParameterPtr refused = a->operate_postfix("?");
  ASSERT_EQ(refused->size(), 3);
  EXPECT_EQ(subtype_of(refused[at(2)]), PS_ERR_TYPE);
  EXPECT_FALSE(zynParameterError::is_shared(*refused[at(2)]));
}

TEST(ParameterArray, ComparisonOperatorsGiveBooleans) {
  zynParameterPtr a = numbers(3), b = numbers(3);
  EXPECT_EQ(a->operate_binary("==", b)->get_int(), 1);
  EXPECT_EQ(a->operate_binary("==", numbers(2))->get_int(), 0);
  b[at(1)]->set_int(5);
  EXPECT_EQ(a->operate_binary("==", b)->get_int(), 0);
  EXPECT_EQ(a->operate_binary("!=", b)->get_int(), 1);
}

}  // namespace
