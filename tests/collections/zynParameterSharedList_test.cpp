#include "zyn/collections/zynParameterSharedList.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "support/zynTestValue.h"

namespace {

zynParameterKey at(int i, const utString& rest = utString()) { return zynParameterKey(i, rest); }

zynParameterSubType kind_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

class ParameterSharedList : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) owner->add(zynParameterKey(), zyn_test_value(i));
  }
  zynParameterPtr member(int i) { return owner[at(i)]; }

  zynParameterPtr owner{new zynParameterArray()};
  zynParameterPtr shared{new zynParameterSharedList(zyn_test_value(0))};
};

TEST_F(ParameterSharedList, AcceptsOnlyOwnedValuesOfItsType) {
  EXPECT_EQ(shared->add(zynParameterKey(), member(1)), member(1));
  EXPECT_EQ(member(1)->parent(), owner.pointer());
  EXPECT_EQ(kind_of(shared->add(zynParameterKey(), zyn_test_value(4))), PS_ERR_UNKNOWN);
  zynParameterPtr text(new zynTestParameter(PT_STRING, PS_STRING));
  owner->add(zynParameterKey(), text);
  EXPECT_EQ(kind_of(shared->add(zynParameterKey(), text)), PS_ERR_UNKNOWN);
  EXPECT_EQ(shared->add(at(0), member(2)), member(2));
  EXPECT_EQ(shared[at(0)], member(2));
  EXPECT_EQ(kind_of(shared->add(at(3), member(0))), PS_ERR_NAME);
  EXPECT_EQ(kind_of(shared->add(zynParameterKey("a"), member(0))), PS_ERR_NAME);
  EXPECT_EQ(kind_of(shared->add(at(0, "x"), member(0))), PS_ERR_NAME);
  EXPECT_EQ(shared->size(), 2);
}

TEST_F(ParameterSharedList, ErrorValuesBecomeFreshPrototypes) {
  zynParameterPtr fresh = shared->add(zynParameterKey(), zynParameterPtr());
  EXPECT_FALSE(fresh->is_error());
  EXPECT_EQ(fresh->parent(), nullptr);
  zynParameterPtr grown = (*shared)[at(1)];
  EXPECT_EQ(shared->size(), 2);
  EXPECT_EQ(grown->parent(), nullptr);
  EXPECT_EQ(kind_of((*shared)[at(3)]), PS_ERR_NAME);
}

TEST_F(ParameterSharedList, RemovingLeavesTheOwnerAlone) {
  shared->add(zynParameterKey(), member(0));
  shared->add(zynParameterKey(), member(1));
  EXPECT_EQ(shared->remove(at(0)), member(0));
  EXPECT_EQ(member(0)->parent(), owner.pointer());
  EXPECT_EQ(owner->size(), 3);
  EXPECT_EQ(kind_of(shared->remove(zynParameterKey())), PS_ERR_NAME);
  EXPECT_EQ(kind_of(shared->remove(at(1))), PS_ERR_NAME);
  shared->lock(1);
  EXPECT_EQ(kind_of(shared->remove(at(0))), PS_ERR_UNKNOWN);
  EXPECT_EQ(kind_of(shared->add(zynParameterKey(), member(2))), PS_ERR_UNKNOWN);
  shared->remove_all();
  EXPECT_EQ(shared->size(), 1);
  shared->lock(0);
  shared->remove_all();
  EXPECT_EQ(shared->size(), 0);
  EXPECT_EQ(member(1)->parent(), owner.pointer());
}

TEST_F(ParameterSharedList, CopiesShareTheElements) {
  shared->add(zynParameterKey(), member(0));
  shared->add(zynParameterKey(), member(2));
  zynParameterPtr copy = shared.copy();
  EXPECT_EQ(copy[at(1)], member(2));
  copy[at(1)]->set_int(42);
  EXPECT_EQ(shared[at(1)]->get_int(), 42);
  zynParameterSharedList& s = *zynParameterSharedList::ut_dynamic_cast(shared.pointer());
  EXPECT_EQ(s.slice(1, 2)[at(0)], member(2));
  zynParameterPtr other(new zynParameterSharedList(zyn_test_value(0)));
  other->copy_value_from(*owner);  // not a shared list: nothing happens
  EXPECT_EQ(other->size(), 0);
  other->copy_value_from(*shared);
  EXPECT_EQ(other[at(0)], member(0));
  copy.release();
  other.release();
  shared.release();
  EXPECT_EQ(member(0)->parent(), owner.pointer());
  EXPECT_EQ(member(2)->get_int(), 42);
}

}  // namespace
