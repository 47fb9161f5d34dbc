#include "zyn/collections/zynParameterTempArray.h"

#include <gtest/gtest.h>

#include "support/zynTestHelpers.h"

namespace {

zynParameterKey at(int i) { return zynParameterKey(i, utString()); }

zynParameterTempArray& temp(const zynParameterPtr& p) { return *zynParameterTempArray::ut_dynamic_cast(p.pointer()); }

zynParameterPtr named(std::initializer_list<const char*> names) {
  zynParameterPtr t(new zynParameterTempArray());
  int v = 0;
  for (const char* n : names) t->add(zynParameterKey(n), zyn_test_number(PS_INT, v++));
  return t;
}

TEST(ParameterTempArray, NamesAreUniqueAndStayAlignedOnRemoval) {
  zynParameterPtr t = named({"a", "b", "c"});
  EXPECT_EQ(subtype_of(t->add(zynParameterKey("A"), zyn_test_number(PS_INT, 5))), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(t->add(at(0), zyn_test_number(PS_INT, 5))), PS_ERR_NAME);
  EXPECT_EQ(t[zynParameterKey("C")]->get_int(), 2);
  zynParameterPtr keys = t[zynParameterKey("_keys")];
  EXPECT_EQ(t->remove(zynParameterKey("b"))->get_int(), 1);
  EXPECT_EQ(temp(t).get_access_names(), "a,c");
  EXPECT_EQ(keys->size(), 2);
  // A copy (whose keys list is made afresh) loses only the name removed.
  zynParameterPtr copy = t.copy();
  EXPECT_EQ(copy->remove(zynParameterKey("C"))->get_int(), 2);
  EXPECT_EQ(temp(copy).get_access_names(), "a");
  EXPECT_EQ(subtype_of(copy->remove(zynParameterKey("z"))), PS_ERR_NAME);
  EXPECT_EQ(temp(t).get_access_names(), "a,c");
  t->remove_all();
  EXPECT_EQ(temp(t).get_access_names(), "");
}

TEST(ParameterTempArray, CopiesShareButCopyValueFromClones) {
  zynParameterPtr t = named({"x", "y"});
  EXPECT_EQ(t.copy()[zynParameterKey("y")].pointer(), t[at(1)].pointer());
  zynParameterPtr u(new zynParameterTempArray());
  u->copy_value_from(*t);
  ASSERT_EQ(u->size(), 2);
  EXPECT_NE(u[at(0)].pointer(), t[at(0)].pointer());
  EXPECT_EQ(u[at(0)]->parent(), u.pointer());
  EXPECT_EQ(u->remove(at(0))->parent(), nullptr);  // adopted copies are let go properly
}

}  // namespace
