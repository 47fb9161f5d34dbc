#include "zyn/collections/zynParameterArray.h"

#include <gtest/gtest.h>

#include "support/zynTestValue.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameter_internal.h"

namespace {

zynParameterKey at(int i, const utString& rest = utString()) { return zynParameterKey(i, rest); }

zynParameterSubType kind_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

// An array of test values 0..n-1.
zynParameterPtr numbers(int n) {
  zynParameterPtr a(new zynParameterArray());
  for (int i = 0; i < n; ++i) a->add(zynParameterKey(), zyn_test_value(i));
  return a;
}

std::vector<int> values(const zynParameterPtr& a) {
  std::vector<int> out;
  for (int i = 0; i < a->size(); ++i) out.push_back(a[at(i)]->get_int());
  return out;
}

TEST(ParameterArray, AddAppendsOrInsertsByIndex) {
  zynParameterPtr a = numbers(2);
  zynParameterPtr x = zyn_test_value(7);
  EXPECT_EQ(a->add(at(-1), x), x);
  EXPECT_EQ(x->parent(), a.pointer());
  a->add(at(3), zyn_test_value(8));
  a->add(at(0), zyn_test_value(9));
  EXPECT_EQ(values(a), (std::vector<int>{9, 0, 1, 7, 8}));
  EXPECT_EQ(kind_of(a->add(at(6), zyn_test_value(1))), PS_ERR_NAME);
  EXPECT_EQ(kind_of(a->add(at(-2), zyn_test_value(1))), PS_ERR_NAME);
  EXPECT_EQ(kind_of(a->add(zynParameterKey("abc"), zyn_test_value(1))), PS_ERR_NAME);
  EXPECT_EQ(a->size(), 5);
  // Holding itself or an ancestor would make a loop.
  zynParameterPtr inner = numbers(0);
  a->add(zynParameterKey(), inner);
  EXPECT_EQ(kind_of(a->add(zynParameterKey(), a)), PS_ERR_ARGUMENTS);
  EXPECT_EQ(kind_of(inner->add(zynParameterKey(), a)), PS_ERR_ARGUMENTS);
  zynParameterPtr shared = zynParameterError::create(PS_ERR_DATA);
  EXPECT_EQ(a->add(zynParameterKey(), shared)->parent(), a.pointer());  // a private copy
  EXPECT_EQ(shared->parent(), nullptr);
  EXPECT_EQ(a->size(), 7);
}

TEST(ParameterArray, IndexAccessChecksRangeAndDescends) {
  zynParameterPtr a = numbers(3);
  EXPECT_EQ(a[at(2)]->get_int(), 2);
  EXPECT_EQ(kind_of(a[at(-1)]), PS_ERR_NAME);
  EXPECT_EQ(kind_of(a[at(3)]), PS_ERR_NAME);
  EXPECT_EQ(kind_of(a[zynParameterKey("x")]), PS_ERR_NAME);
  // The rest of the key is the element's business: a number answers "Type error".
  EXPECT_EQ(kind_of(a[at(0, "x")]), PS_ERR_TYPE);
  const zynParameter& constant = *a;
  EXPECT_EQ(constant[at(1)].pointer(), a[at(1)].pointer());
  zynParameterPtr outer(new zynParameterArray());
  outer->add(zynParameterKey(), a);
  const zynParameterArray& o = *zynParameterArray::ut_dynamic_cast(outer.pointer());
  EXPECT_EQ(o.get_element(0), a);
  EXPECT_EQ(kind_of(o.get_element(1)), PS_ERR_NAME);
}

TEST(ParameterArray, RemoveReturnsTheElementUnlinked) {
  zynParameterPtr a = numbers(3);
  zynParameterPtr gone = a->remove(at(1));
  EXPECT_EQ(gone->get_int(), 1);
  EXPECT_EQ(gone->parent(), nullptr);
  EXPECT_EQ(values(a), (std::vector<int>{0, 2}));
  EXPECT_EQ(kind_of(a->remove(at(2))), PS_ERR_NAME);
  EXPECT_EQ(kind_of(a->remove(zynParameterKey())), PS_ERR_NAME);
  zynParameterPtr empty(new zynParameterArray());
  EXPECT_EQ(kind_of(empty->remove(at(0))), PS_ERR_NAME);
}

TEST(ParameterArray, LockedArrayRefusesChanges) {
  zynParameterPtr a = numbers(2);
  a->lock(1);
  EXPECT_EQ(kind_of(a->add(zynParameterKey(), zyn_test_value(5))), PS_ERR_UNKNOWN);
  EXPECT_EQ(kind_of(a->remove(at(0))), PS_ERR_UNKNOWN);
  a->remove_all();
  a->reset();
  EXPECT_EQ(a->size(), 2);
  zynParameterPtr b = numbers(1);
  a->copy_value_from(*b);  // copying values does not consult the lock
  EXPECT_EQ(a->size(), 1);
}

TEST(ParameterArray, ChildrenOutlivingTheArrayLoseTheirParent) {
  zynParameterPtr kept = zyn_test_value(1);
  zynParameterPtr locked_kept = zyn_test_value(2);
  {
    zynParameterPtr a(new zynParameterArray());
    a->add(zynParameterKey(), kept);
    zynParameterPtr b(new zynParameterArray());
    b->add(zynParameterKey(), locked_kept);
    b->lock(1);
  }
  EXPECT_EQ(kept->parent(), nullptr);
  EXPECT_EQ(locked_kept->parent(), nullptr);
  // An element adopted by a second array keeps that link when the first lets go.
  zynParameterPtr first = numbers(0), second = numbers(0);
  first->add(zynParameterKey(), kept);
  second->add(zynParameterKey(), kept);
  first->remove_all();
  EXPECT_EQ(kept->parent(), second.pointer());
}

TEST(ParameterArray, CopiesAreDeep) {
  zynParameterPtr a = numbers(3);
  a->set_name("passes");
  zynParameterPtr b = a.copy();
  EXPECT_EQ(values(b), values(a));
  EXPECT_NE(b[at(0)].pointer(), a[at(0)].pointer());
  EXPECT_EQ(b[at(0)]->parent(), b.pointer());
  EXPECT_EQ(b->get_name(), "passes");
  EXPECT_TRUE(*a == *b);
  b[at(2)]->set_int(9);
  EXPECT_TRUE(*a != *b);
  EXPECT_TRUE(*a != *numbers(2));
}

TEST(ParameterArray, CopyValueFromTakesArraysOnly) {
  zynParameterPtr a = numbers(2);
  a->copy_value_from(*zyn_test_value(5));
  EXPECT_EQ(values(a), (std::vector<int>{0, 1}));
  zynParameterPtr old = a[at(0)];
  a->copy_value_from(*numbers(3));
  EXPECT_EQ(values(a), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(old->parent(), nullptr);
  // Copying from an array held only by this one must read it before letting go.
  zynParameterPtr outer(new zynParameterArray());
  outer->add(zynParameterKey(), numbers(2));
  const zynParameter& inner = *outer[at(0)];
  outer->copy_value_from(inner);
  EXPECT_EQ(values(outer), (std::vector<int>{0, 1}));
}

TEST(ParameterArray, SliceKeepsTheRangeAndNeverHangs) {
  zynParameterPtr a = numbers(5);
  EXPECT_EQ(values(zynParameterArray::ut_dynamic_cast(a.pointer())->slice(1, 3)), (std::vector<int>{1, 2}));
  const zynParameterArray& arr = *zynParameterArray::ut_dynamic_cast(a.pointer());
  EXPECT_EQ(arr.slice(0, 0)->size(), 0);
  EXPECT_EQ(values(arr.slice(3, 9)), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(values(arr.slice(2, 9)), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(values(arr.slice(-2, 1)), (std::vector<int>{0}));
  EXPECT_EQ(arr.slice(4, 2)->size(), 0);
  EXPECT_EQ(arr.slice(0, -3)->size(), 0);
  a->lock(1);
  EXPECT_EQ(values(arr.slice(1, 2)), (std::vector<int>{1}));
  EXPECT_EQ(a->size(), 5);
}

TEST(ParameterArray, PrintShowsActiveElementsAtTheirIndexes) {
  zynParameterPtr a = numbers(3);
  EXPECT_EQ(a->print(0), "(ARRAY) \n\t[0] (TEST) 0\n\t[1] (TEST) 1\n\t[2] (TEST) 2\n");
  a[at(1)]->set_active("0");
  zynTestValue::ut_dynamic_cast(a[at(1)].pointer())->m_valid = 0;
  EXPECT_TRUE(a->is_valid());
  EXPECT_EQ(a->print(1), "(ARRAY) \n\t\t[0] (TEST) 0\n\t\t[2] (TEST) 2\n");
  zynTestValue::ut_dynamic_cast(a[at(2)].pointer())->m_valid = 0;
  EXPECT_FALSE(a->is_valid());
  EXPECT_EQ(a->print(0).substr(0, 11), "(ARRAY !) \n");
}

TEST(ParameterArray, ConcatenationMakesAPlainArrayOfCopies) {
  zynParameterPtr left = numbers(2), right = numbers(3);
  zynParameterPtr sum = left->operate_binary("+", right);
  EXPECT_EQ(kind_of(sum), PS_ARRAY);
  EXPECT_EQ(values(sum), (std::vector<int>{0, 1, 0, 1, 2}));
  EXPECT_NE(sum[at(2)].pointer(), right[at(0)].pointer());
  EXPECT_EQ(sum[at(4)]->parent(), sum.pointer());
  EXPECT_EQ(left->size(), 2);
  EXPECT_EQ(values(left->operate_binary("+", zyn_test_value(4))), (std::vector<int>{0, 1}));
  EXPECT_EQ(kind_of(left->operate_binary("*", right)), PS_ERR_TYPE);
}

TEST(ParameterArray, UnaryOperatorsWorkElementWise) {
  zynParameterPtr a = numbers(3);
  zynParameterPtr negated = a->operate_prefix("-");
  EXPECT_EQ(kind_of(negated), PS_ARRAY);
  EXPECT_EQ(values(negated), (std::vector<int>{0, -1, -2}));
  zynParameterPtr refused = a->operate_postfix("!");
  ASSERT_EQ(refused->size(), 3);
  EXPECT_EQ(kind_of(refused[at(2)]), PS_ERR_TYPE);
  EXPECT_FALSE(zynParameterError::is_shared(*refused[at(2)]));
  EXPECT_EQ(zynParameterError::create(PS_ERR_TYPE)->parent(), nullptr);
}

TEST(ParameterArray, ComparisonOperatorsGiveBooleans) {
  zynParameterPtr a = numbers(3);
  EXPECT_EQ(a->operate_binary("==", numbers(3))->get_int(), 1);
  EXPECT_EQ(a->operate_binary("!=", numbers(3))->get_int(), 0);
  EXPECT_EQ(a->operate_binary("==", numbers(2))->get_int(), 0);
  zynParameterPtr b = numbers(3);
  b[at(1)]->set_int(5);
  EXPECT_EQ(a->operate_binary("==", b)->get_int(), 0);
  EXPECT_EQ(numbers(0)->operate_binary("==", numbers(0))->get_int(), 1);
  EXPECT_EQ(numbers(0)->operate_binary("==", zyn_test_value(3))->get_int(), 1);
}

}  // namespace
