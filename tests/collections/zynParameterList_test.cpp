#include "zyn/collections/zynParameterList.h"

#include <gtest/gtest.h>

#include "support/zynTestHelpers.h"
#include "support/zynTestParameter.h"

namespace {

zynParameterKey at(int i, const utString& rest = utString()) { return zynParameterKey(i, rest); }

TEST(ParameterList, GrowsOnePastTheEndAndCountsItsLength) {
  zynParameterPtr l(new zynParameterList(zyn_test_number(PS_INT, 7)));
  l->set_int(2);
  EXPECT_EQ((*l)[at(2)]->get_int(), 7);
  EXPECT_EQ(l->get_int(), 3);
  EXPECT_EQ(subtype_of((*l)[at(4)]), PS_ERR_NAME);
  // The rest of the key goes to the new element.
  EXPECT_EQ(subtype_of((*l)[at(3, "depth")]), PS_ERR_TYPE);
  EXPECT_EQ(l->size(), 4);
}

TEST(ParameterList, NumbersOfAnotherSubtypeAreConverted) {
  zynDimensions length(ZYN_DIM_LENGTH);
  zynParameterPtr reals(new zynParameterList(zyn_test_number(PS_REAL, 0, length)));
  zynParameterPtr ints(new zynParameterList(zyn_test_number(PS_INT, 0)));
  (*ints)[at(0)]->set_double(3);
  (*ints)[at(1)]->set_double(-2);
  reals->copy_value_from(*ints);
  ASSERT_EQ(reals->size(), 2);
  for (int i = 0; i < 2; ++i) {
    const zynParameterNumeric* n = zynParameterNumeric::ut_dynamic_cast(reals[at(i)].pointer());
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(zynParameter::get_subtype(*n), PS_REAL);
    EXPECT_TRUE(n->get_dim() == length);
    EXPECT_EQ(n->parent(), reals.pointer());
  }
  EXPECT_DOUBLE_EQ(reals[at(1)]->get_double(), -2.0);
  zynParameterPtr texts(new zynParameterArray());
  texts->add(zynParameterKey(), zynParameterPtr(new zynTestParameter(PT_STRING, PS_STRING)));
  reals->copy_value_from(*texts);
  EXPECT_EQ(reals->size(), 2);
}

}  // namespace
