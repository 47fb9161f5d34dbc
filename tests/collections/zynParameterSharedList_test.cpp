#include "zyn/collections/zynParameterSharedList.h"

#include <gtest/gtest.h>

#include "support/zynTestHelpers.h"

namespace {

zynParameterKey at(int i) { return zynParameterKey(i, utString()); }

class ParameterSharedList : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) owner->add(zynParameterKey(), zyn_test_number(PS_INT, i));
  }
  zynParameterPtr member(int i) { return owner[at(i)]; }

  zynParameterPtr owner{new zynParameterArray()};
  zynParameterPtr shared{new zynParameterSharedList(zyn_test_number(PS_INT, 0))};
};

TEST_F(ParameterSharedList, AcceptsOnlyOwnedValuesAtPlainPositions) {
  EXPECT_EQ(shared->add(zynParameterKey(), member(1)), member(1));
  EXPECT_EQ(member(1)->parent(), owner.pointer());
  EXPECT_EQ(subtype_of(shared->add(zynParameterKey(), zyn_test_number(PS_INT, 4))), PS_ERR_UNKNOWN);
  EXPECT_EQ(subtype_of(shared->add(at(3), member(0))), PS_ERR_NAME);
  EXPECT_EQ(shared->size(), 1);
}

TEST_F(ParameterSharedList, ErrorValuesBecomeFreshPrototypes) {
  zynParameterPtr grown = (*shared)[at(0)];
  EXPECT_FALSE(grown->is_error());
  EXPECT_EQ(grown->parent(), nullptr);
  EXPECT_EQ(shared->size(), 1);
}

TEST_F(ParameterSharedList, RemovingLeavesTheOwnerAlone) {
  shared->add(zynParameterKey(), member(0));
  EXPECT_EQ(shared->remove(at(0)), member(0));
  EXPECT_EQ(member(0)->parent(), owner.pointer());
  EXPECT_EQ(subtype_of(shared->remove(zynParameterKey())), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(shared->remove(at(1))), PS_ERR_NAME);
  shared->lock(1);
  EXPECT_EQ(subtype_of(shared->remove(at(0))), PS_ERR_UNKNOWN);
}

TEST_F(ParameterSharedList, CopiesShareTheElements) {
  shared->add(zynParameterKey(), member(2));
  zynParameterPtr other(new zynParameterSharedList(zyn_test_number(PS_INT, 0)));
  other->copy_value_from(*owner);  // not a shared list: nothing happens
  EXPECT_EQ(other->size(), 0);
  other->copy_value_from(*shared);
  EXPECT_EQ(other[at(0)], member(2));
  other[at(0)]->set_int(42);
  EXPECT_EQ(member(2)->get_int(), 42);
}

}  // namespace
