#include "zyn/collections/zynParameterVector.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "support/zynTestValue.h"
#include "zyn/host/zynUnitsUtils.h"
#include "zyn/values/zynParameterNumeric.h"

namespace {

zynParameterKey at(int i) { return zynParameterKey(i, utString()); }

zynParameterSubType kind_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

zynParameterPtr vector_of(int n, zynParameterVectorAccessType t = PVA_NONE) {
  zynParameterVector* v = new zynParameterVector(n, zyn_test_value(0));
  v->set_access_type(t);
  zynParameterPtr p(v);
  for (int i = 0; i < n; ++i) p[at(i)]->set_int(i + 1);
  return p;
}

zynParameterVector& vec(const zynParameterPtr& p) { return *zynParameterVector::ut_dynamic_cast(p.pointer()); }

TEST(ParameterVector, ComponentsAnswerToTheirNames) {
  zynParameterPtr v = vector_of(3, PVA_XYZ);
  EXPECT_EQ(v[zynParameterKey("y")].pointer(), v[at(1)].pointer());
  EXPECT_EQ(v[zynParameterKey("Z")]->get_int(), 3);
  EXPECT_EQ(kind_of(v[zynParameterKey("w")]), PS_ERR_NAME);
  EXPECT_EQ(kind_of(v[zynParameterKey("x.value")]), PS_ERR_TYPE);  // reaches the component
  EXPECT_EQ(v[zynParameterKey("_keys")]->size(), 3);
  EXPECT_EQ(v[zynParameterKey("_keys")].pointer(), v[zynParameterKey("_keys")].pointer());
  EXPECT_EQ(zynParameter::get_subtype(*v), PS_VECTOR);
  EXPECT_EQ(v[at(0)]->parent(), v.pointer());

  zynParameterPtr flat = vector_of(2, PVA_XYZ);
  EXPECT_EQ(kind_of(flat[zynParameterKey("z")]), PS_ERR_NAME);
  EXPECT_EQ(flat[zynParameterKey("_keys")]->size(), 2);
  EXPECT_EQ(kind_of(vector_of(2)[zynParameterKey("_keys")]), PS_ERR_NAME);
}

TEST(ParameterVector, AccessTypesInstallTheirNames) {
  zynParameterPtr v = vector_of(3, PVA_RGB);
  EXPECT_EQ(vec(v).get_access_names(), "R,G,B");
  vec(v).set_access_type(PVA_NAMED);
  EXPECT_EQ(vec(v).get_access_names(), "R,G,B");
  vec(v).set_access_type("lo,,hi");
  EXPECT_EQ(vec(v).access_type(), PVA_NAMED);
  EXPECT_EQ(v[zynParameterKey("HI")]->get_int(), 3);
  vec(v).set_access_type(PVA_ORDINAL);
  EXPECT_EQ(v[zynParameterKey("third")]->get_int(), 3);
  vec(v).set_access_type(PVA_PLANES);
  EXPECT_EQ(v[zynParameterKey("zx")]->get_int(), 3);
  vec(v).set_access_type(static_cast<zynParameterVectorAccessType>(42));
  EXPECT_EQ(vec(v).access_type(), 42);
  EXPECT_EQ(vec(v).get_access_names(), "XY,YZ,ZX");
  vec(v).set_access_type(PVA_NONE);
  EXPECT_EQ(kind_of(v[zynParameterKey("zx")]), PS_ERR_NAME);
}

TEST(ParameterVector, LengthIsFixed) {
  zynParameterPtr v = vector_of(3);
  EXPECT_EQ(kind_of(v->add(zynParameterKey(), zyn_test_value(1))), PS_ERR_TYPE);
  EXPECT_EQ(kind_of(v->remove(at(0))), PS_ERR_TYPE);
  v->remove_all();
  EXPECT_EQ(v->size(), 3);
  EXPECT_EQ(zynParameterVector(-2, zyn_test_value(0)).size(), 0);
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
  mixed->add(zynParameterKey(), zyn_test_value(7));
  mixed->add(zynParameterKey(), zyn_test_value(7));
  mixed->add(zynParameterKey(), zynParameterPtr(new zynTestParameter()));
  v->copy_value_from(*mixed);
  EXPECT_EQ(v[at(0)]->get_int(), 1);  // one foreign element spoils the whole copy

  zynParameterPtr copy = v.copy();
  EXPECT_EQ(vec(copy).get_access_names(), "X,Y,Z");
  EXPECT_NE(copy[at(0)].pointer(), v[at(0)].pointer());
  EXPECT_EQ(copy[zynParameterKey("z")]->get_int(), 9);
  vec(copy) = vec(vector_of(2));  // assignment keeps the length
  EXPECT_EQ(copy->size(), 3);
  zynParameterPtr sliced = vec(v).slice(0, 2);
  EXPECT_EQ(sliced->size(), 2);
  EXPECT_EQ(kind_of(sliced), PS_VECTOR);
}

TEST(ParameterVector, ResetWithoutDefaultResetsTheComponents) {
  zynParameterPtr v(new zynParameterVector(2, zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(), 4))));
  v[at(1)]->set_double(7);
  v->reset();
  EXPECT_DOUBLE_EQ(v[at(1)]->get_double(), 4.0);
  EXPECT_EQ(v->size(), 2);
}

TEST(ParameterVector, LockedOrMismatchedTextChangesNothing) {
  zynParameterPtr v = vector_of(3);
  v->set_string("{1; 2}");
  EXPECT_EQ(v[at(0)]->get_int(), 1);
  v->lock(1);
  v->set_string("{7; 8; 9}");
  EXPECT_EQ(v[at(0)]->get_int(), 1);
}


TEST(ParameterVector, ResetTakesTheDefaultOfTheUnitSystem) {
  zynParameterPtr v = vector_of(3, PVA_XYZ);
  vec(v).set_defaults("{1; 2; 3}", "{4; 5; 6}");
  v->reset();
  EXPECT_EQ(v[zynParameterKey("z")]->get_int(), 3);
  ASSERT_TRUE(zynUnitsUtils::set_units(zynUnitsImperial));
  v->reset();
  zynUnitsUtils::set_units(zynUnitsMetric);
  EXPECT_EQ(v[zynParameterKey("x")]->get_int(), 4);
  EXPECT_EQ(v[zynParameterKey("Z")]->get_int(), 6);
  // Defaults are texts; an unusable one leaves the components alone.
  vec(v).set_defaults("{1; 2}", "{1; 2}");
  v->reset();
  EXPECT_EQ(v[zynParameterKey("z")]->get_int(), 6);
}

}  // namespace
