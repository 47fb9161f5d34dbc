#include "zyn/collections/zynParameterList.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "support/zynTestValue.h"
#include "zyn/core/zynParameterMap.h"
#include "zyn/values/zynParameterNumeric.h"

namespace {

zynParameterKey at(int i, const utString& rest = utString()) { return zynParameterKey(i, rest); }

zynParameterSubType kind_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

zynParameterPtr list_of(int prototype_value, int n = 0) {
  zynParameterPtr l(new zynParameterList(zyn_test_value(prototype_value)));
  l->set_int(n);
  return l;
}

TEST(ParameterList, GrowsOnePastTheEnd) {
  zynParameterPtr l = list_of(7, 2);
  zynParameterPtr grown = (*l)[at(2)];
  EXPECT_EQ(l->size(), 3);
  EXPECT_EQ(grown->get_int(), 7);
  EXPECT_EQ(grown->parent(), l.pointer());
  EXPECT_EQ(kind_of((*l)[at(4)]), PS_ERR_NAME);
  (*l)[at(-1)]->set_int(9);
  EXPECT_EQ(l->size(), 4);
  EXPECT_EQ(l[at(3)]->get_int(), 9);
  const zynParameter& constant = *l;
  EXPECT_EQ(kind_of(constant[at(4)]), PS_ERR_NAME);
  EXPECT_EQ(l->size(), 4);
  // The rest of the key goes to the new element.
  EXPECT_EQ(kind_of((*l)[at(4, "depth")]), PS_ERR_TYPE);
  EXPECT_EQ(l->size(), 5);
  l->lock(1);
  EXPECT_EQ(kind_of((*l)[at(5)]), PS_ERR_UNKNOWN);
}

TEST(ParameterList, IntegerValueIsTheLength) {
  zynParameterPtr l = list_of(3);
  l->set_int(5);
  EXPECT_EQ(l->get_int(), 5);
  EXPECT_NE(l[at(0)].pointer(), l[at(1)].pointer());
  l[at(1)]->set_int(1);
  l->set_int(2);
  EXPECT_EQ(l->size(), 2);
  EXPECT_EQ(l[at(1)]->get_int(), 1);
  l->set_int(0);
  EXPECT_EQ(l->size(), 0);
  l->set_int(3);
  l->set_int(-4);
  EXPECT_EQ(l->size(), 0);
  l->set_int(2);
  l->lock(1);
  l->set_int(1);
  l->set_int(6);
  EXPECT_EQ(l->size(), 2);
}

TEST(ParameterList, PrototypeIsAPrivateClone) {
  zynParameterPtr prototype = zyn_test_value(4);
  zynParameterList l(prototype);
  EXPECT_NE(&l.get_element_type(), prototype.pointer());
  prototype->set_int(8);
  EXPECT_EQ(l.get_element_type().get_int(), 4);
  zynParameterPtr copy(l.create_new());
  const zynParameterList& c = *zynParameterList::ut_dynamic_cast(copy.pointer());
  EXPECT_NE(&c.get_element_type(), &l.get_element_type());
  EXPECT_EQ(zynParameter::get_subtype(*copy), PS_LIST);
}

zynParameterPtr number(zynParameterSubType s, double v, zynDimensions d = zynDimensions()) {
  return zynParameterPtr(new zynParameterNumeric(s, d, v));
}

TEST(ParameterList, AddConvertsThroughThePrototype) {
  zynParameterPtr l(new zynParameterList(number(PS_REAL, 1.5, zynDimensions(ZYN_DIM_LENGTH))));
  zynParameterPtr value = number(PS_INT, 6);
  zynParameterPtr added = l->add(zynParameterKey(), value);
  EXPECT_NE(added.pointer(), value.pointer());
  EXPECT_EQ(zynParameter::get_subtype(*added), PS_REAL);
  EXPECT_DOUBLE_EQ(added->get_double(), 6.0);
  EXPECT_EQ(kind_of(l->add(at(3), value)), PS_ERR_NAME);
  EXPECT_DOUBLE_EQ(l->add(at(0), zynParameterPtr())->get_double(), 1.5);
  EXPECT_DOUBLE_EQ(l->add(at(0), zynParameterError::create(PS_ERR_NAME))->get_double(), 1.5);
  // Values are not used for a prototype that is not a scalar.
  zynParameterPtr nested(new zynParameterList(zynParameterPtr(new zynParameterArray())));
  zynParameterPtr full(new zynParameterArray());
  full->add(zynParameterKey(), zyn_test_value(1));
  EXPECT_EQ(nested->add(zynParameterKey(), full)->size(), 0);
  // A map prototype that is not fixed takes the value's own layout.
  zynParameterPtr layout(new zynParameterMap());
  layout->add("extra", number(PS_INT, 1));
  zynParameterMap open;
  open.not_fixed();
  EXPECT_EQ(zynParameterList(zynParameterPtr(new zynParameterMap(open))).add(zynParameterKey(), layout)->size(), 1);
  EXPECT_EQ(zynParameterList(zynParameterPtr(new zynParameterMap())).add(zynParameterKey(), layout)->size(), 0);
}

TEST(ParameterList, CopyValueFromChecksTheElementType) {
  zynParameterPtr l = list_of(0, 1);
  zynParameterPtr source(new zynParameterArray());
  source->add(zynParameterKey(), zyn_test_value(5));
  source->add(zynParameterKey(), zynParameterPtr(new zynTestParameter()));
  l->copy_value_from(*source);
  EXPECT_EQ(l->size(), 1);
  source->remove(at(1));
  source->add(zynParameterKey(), zyn_test_value(6));
  l->copy_value_from(*source);
  ASSERT_EQ(l->size(), 2);
  EXPECT_EQ(l[at(1)]->get_int(), 6);
  EXPECT_NE(l[at(1)].pointer(), source[at(1)].pointer());
  EXPECT_EQ(l[at(1)]->parent(), l.pointer());
  l->copy_value_from(*zyn_test_value(3));
  EXPECT_EQ(l->size(), 2);
}

TEST(ParameterList, NumbersOfAnotherSubtypeAreConverted) {
  zynDimensions length(ZYN_DIM_LENGTH);
  zynParameterPtr reals(new zynParameterList(number(PS_REAL, 0, length)));
  zynParameterPtr ints(new zynParameterList(number(PS_INT, 0)));
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
  reals->copy_value_from(*zynParameterPtr(new zynParameterList(number(PS_INT, 0))));
  EXPECT_EQ(reals->size(), 0);
}

}  // namespace
