#include "zyn/collections/zynParameterTempArray.h"

#include <gtest/gtest.h>

#include "support/zynTestValue.h"
#include "zyn/core/zynParameter_internal.h"

namespace {

zynParameterKey at(int i) { return zynParameterKey(i, utString()); }

zynParameterSubType kind_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

zynParameterTempArray& temp(const zynParameterPtr& p) { return *zynParameterTempArray::ut_dynamic_cast(p.pointer()); }

zynParameterPtr named(std::initializer_list<const char*> names) {
  zynParameterPtr t(new zynParameterTempArray());
  int v = 0;
  for (const char* n : names) t->add(zynParameterKey(n), zyn_test_value(v++));
  return t;
}

TEST(ParameterTempArray, NamesAreUniqueAndExclusiveWithPositions) {
  zynParameterPtr t = named({"a", "b"});
  EXPECT_EQ(t->size(), 2);
  EXPECT_EQ(temp(t).get_access_names(), "a,b");
  EXPECT_EQ(kind_of(t->add(zynParameterKey("A"), zyn_test_value(5))), PS_ERR_NAME);
  EXPECT_EQ(kind_of(t->add(at(0), zyn_test_value(5))), PS_ERR_NAME);
  EXPECT_EQ(kind_of(t->remove(at(0))), PS_ERR_NAME);
  EXPECT_EQ(t[zynParameterKey("B")]->get_int(), 1);
  EXPECT_EQ(t[at(0)]->get_int(), 0);
  EXPECT_EQ(zynParameter::get_subtype(*t), PS_VECTOR);

  zynParameterPtr positional(new zynParameterTempArray());
  positional->add(zynParameterKey(), zyn_test_value(1));
  EXPECT_EQ(kind_of(positional->add(zynParameterKey("a"), zyn_test_value(2))), PS_ERR_NAME);
  EXPECT_EQ(kind_of(positional->remove(zynParameterKey("a"))), PS_ERR_NAME);
  positional->add(at(0), zyn_test_value(0));
  positional->add(at(-1), zyn_test_value(2));
  EXPECT_EQ(kind_of(positional->add(at(4), zyn_test_value(9))), PS_ERR_NAME);
  EXPECT_EQ(positional[at(0)]->get_int(), 0);
  EXPECT_EQ(positional[at(2)]->get_int(), 2);
}

TEST(ParameterTempArray, RemovingANameKeepsTheOthersAligned) {
  zynParameterPtr t = named({"a", "b", "c"});
  EXPECT_EQ(t->remove(zynParameterKey("b"))->get_int(), 1);
  EXPECT_EQ(temp(t).get_access_names(), "a,c");
  EXPECT_EQ(t[zynParameterKey("_keys")]->size(), 2);
  // Letter case of the key does not matter, and a copy (whose keys list is
  // made afresh) loses only the name removed.
  zynParameterPtr copy = t.copy();
  EXPECT_EQ(copy->remove(zynParameterKey("C"))->get_int(), 2);
  EXPECT_EQ(temp(copy).get_access_names(), "a");
  EXPECT_EQ(copy[zynParameterKey("a")]->get_int(), 0);
  EXPECT_EQ(kind_of(copy->remove(zynParameterKey("z"))), PS_ERR_NAME);
  EXPECT_EQ(temp(t).get_access_names(), "a,c");
  t->remove_all();
  EXPECT_EQ(t->size(), 0);
  EXPECT_EQ(temp(t).get_access_names(), "");
  EXPECT_EQ(t->add(at(0), zyn_test_value(1))->get_int(), 1);
}

TEST(ParameterTempArray, KeysListHoldsTheNames) {
  zynParameterPtr t = named({"a", "b"});
  zynParameterPtr keys = t[zynParameterKey("_keys")];
  EXPECT_EQ(zynParameter::get_subtype(*keys), PS_LIST);
  EXPECT_EQ(keys->size(), 2);
  t->remove(zynParameterKey("b"));
  EXPECT_EQ(keys->size(), 1);
  if (!zyn_create_string("a")->is_error()) {
    EXPECT_EQ(keys[at(0)]->get_string(), "a");
  }
}

TEST(ParameterTempArray, HoldsWithoutAdopting) {
  zynParameterPtr owner(new zynParameterArray());
  zynParameterPtr member = zyn_test_value(3);
  owner->add(zynParameterKey(), member);
  {
    zynParameterPtr t(new zynParameterTempArray());
    t->add(zynParameterKey(), member);
    EXPECT_EQ(member->parent(), owner.pointer());
    t->remove(at(0));
    t->add(zynParameterKey(), member);
    t->remove_all();
    t->add(zynParameterKey(), member);
  }
  EXPECT_EQ(member->parent(), owner.pointer());
  zynParameterPtr loose = zyn_test_value(4);
  zynParameterPtr t(new zynParameterTempArray());
  t->add(zynParameterKey(), loose);
  EXPECT_EQ(loose->parent(), nullptr);
}

TEST(ParameterTempArray, CopiesShareButCopyValueFromClones) {
  zynParameterPtr t = named({"x", "y"});
  zynParameterPtr copy = t.copy();
  EXPECT_EQ(copy[at(1)].pointer(), t[at(1)].pointer());
  EXPECT_EQ(copy[zynParameterKey("y")].pointer(), t[at(1)].pointer());
  zynParameterPtr sliced = temp(t).slice(1, 2);
  ASSERT_EQ(sliced->size(), 1);
  EXPECT_EQ(sliced[at(0)].pointer(), t[at(1)].pointer());

  zynParameterPtr u(new zynParameterTempArray());
  u->copy_value_from(*t);
  ASSERT_EQ(u->size(), 2);
  EXPECT_NE(u[at(0)].pointer(), t[at(0)].pointer());
  EXPECT_EQ(u[at(0)]->parent(), u.pointer());
  zynParameterPtr taken = u->remove(at(0));
  EXPECT_EQ(taken->parent(), nullptr);  // adopted copies are let go properly
}

}  // namespace
