#include "zyn/collections/zynParameterVector.h"

#include <gtest/gtest.h>

#include "support/zynTestHelpers.h"
#include "support/zynTestParameter.h"
#include "zyn/host/zynUnitsUtils.h"

namespace {

zynParameterKey at(int i) { return zynParameterKey(i, utString()); }

zynParameterPtr vector_of(int n, zynParameterVectorAccessType t = PVA_NONE) {
  zynParameterVector* v = new zynParameterVector(n, zyn_test_number(PS_INT, 0));
  v->set_access_type(t);
  zynParameterPtr p(v);
  for (int i = 0; i < n; ++i) p[at(i)]->set_int(i + 1);
  return p;
}

zynParameterVector& vec(const zynParameterPtr& p) { return *zynParameterVector::ut_dynamic_cast(p.pointer()); }

TEST(ParameterVector, AccessTypesInstallTheirNames) {
  zynParameterPtr v = vector_of(3, PVA_XYZ);
  EXPECT_EQ(v[zynParameterKey("y")].pointer(), v[at(1)].pointer());
  EXPECT_EQ(subtype_of(v[zynParameterKey("w")]), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(v[zynParameterKey("x.value")]), PS_ERR_TYPE);  // reaches the component
  EXPECT_EQ(v[zynParameterKey("_keys")]->size(), 3);
  EXPECT_EQ(subtype_of(vector_of(2, PVA_RGB)[zynParameterKey("b")]), PS_ERR_NAME);
  vec(v).set_access_type("lo,,hi");
  EXPECT_EQ(vec(v).access_type(), PVA_NAMED);
  EXPECT_EQ(v[zynParameterKey("HI")]->get_int(), 3);
  vec(v).set_access_type(PVA_ORDINAL);
  EXPECT_EQ(v[zynParameterKey("third")]->get_int(), 3);
  vec(v).set_access_type(PVA_PLANES);
  EXPECT_EQ(v[zynParameterKey("zx")]->get_int(), 3);
  vec(v).set_access_type(static_cast<zynParameterVectorAccessType>(42));  // unknown: the names stay
  EXPECT_EQ(vec(v).get_access_names(), "XY,YZ,ZX");
}

TEST(ParameterVector, LengthIsFixed) {
  zynParameterPtr v = vector_of(3);
  EXPECT_EQ(subtype_of(v->add(zynParameterKey(), zyn_test_number(PS_INT, 1))), PS_ERR_TYPE);
  EXPECT_EQ(subtype_of(v->remove(at(0))), PS_ERR_TYPE);
  v->remove_all();
  EXPECT_EQ(v->size(), 3);
}

TEST(ParameterVector, CopyValueFromIsTypedAndElementWise) {
  zynParameterPtr v = vector_of(3, PVA_XYZ);
  zynParameterPtr source = vector_of(3);
  source[at(2)]->set_int(9);
  zynParameterPtr component = v[at(2)];
  v->copy_value_from(*source);
  EXPECT_EQ(v[at(2)].pointer(), component.pointer());  // components stay, values change
  EXPECT_EQ(component->get_int(), 9);
  v->copy_value_from(*vector_of(2));
  EXPECT_EQ(component->get_int(), 9);
  zynParameterPtr mixed(new zynParameterArray());
  mixed->add(zynParameterKey(), zyn_test_number(PS_INT, 7));
  mixed->add(zynParameterKey(), zyn_test_number(PS_INT, 7));
  mixed->add(zynParameterKey(), zynParameterPtr(new zynTestParameter()));
  v->copy_value_from(*mixed);
  EXPECT_EQ(v[at(0)]->get_int(), 1);  // one foreign element spoils the whole copy

  zynParameterPtr copy = v.copy();
  EXPECT_EQ(vec(copy).get_access_names(), "X,Y,Z");
  EXPECT_NE(copy[at(0)].pointer(), v[at(0)].pointer());
  vec(copy) = vec(vector_of(2));  // assignment keeps the length
  EXPECT_EQ(copy->size(), 3);
}

TEST(ParameterVector, ResetTakesTheDefaultOfTheUnitSystemOrResetsTheComponents) {
  zynParameterPtr plain(new zynParameterVector(2, zyn_test_number(PS_REAL, 4)));
  plain[at(1)]->set_double(7);
  plain->reset();
  EXPECT_DOUBLE_EQ(plain[at(1)]->get_double(), 4.0);

  zynParameterPtr v = vector_of(3, PVA_XYZ);
  vec(v).set_defaults("{1; 2; 3}", "{4; 5; 6}");
  v->reset();
  EXPECT_EQ(v[zynParameterKey("z")]->get_int(), 3);
  ASSERT_TRUE(zynUnitsUtils::set_units(zynUnitsImperial));
  v->reset();
  zynUnitsUtils::set_units(zynUnitsMetric);
  EXPECT_EQ(v[zynParameterKey("x")]->get_int(), 4);
  // Defaults are texts; an unusable one leaves the components alone.
  vec(v).set_defaults("{1; 2}", "{1; 2}");
  v->reset();
  EXPECT_EQ(v[zynParameterKey("z")]->get_int(), 6);
}

}  // namespace
