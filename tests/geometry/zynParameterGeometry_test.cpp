#include "zyn/geometry/zynParameterUtils.h"

#include <gtest/gtest.h>

#include "support/zynTestGeometry.h"
#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

zynParameterPtr element(const zynParameterPtr& p, int i) { return (*p)[zynParameterKey(i, utString())]; }

TEST(ParameterGeometry, UnusableInputConvertsToUnset) {
  EXPECT_EQ(zynParameterUtils::is_vector_2D(*zyn_test_vector2(0, 0)), 1);
  EXPECT_EQ(zynParameterUtils::to_giunitvec3(*zyn_test_vector(0, 0, 0)).x(), zyn_gi_unset);
  EXPECT_EQ(zynParameterUtils::to_giunitvec2(*zyn_test_vector2(0, 0)).x(), zyn_gi_unset);
  // An element that does not evaluate makes the vector invalid.
  const zynParameterPtr bad = zyn_test_vector(1, 2, 3);
  element(bad, 1)->set_string("no_such_name * 2");
  EXPECT_EQ(zynParameterUtils::to_givector3(*bad).x(), -1.7976931348623157e308);
  EXPECT_EQ(zynParameterUtils::to_gipoint3(*bad).is_set(), 0);
  EXPECT_EQ(zynParameterUtils::to_giunitvec3(*bad).is_set(), 0);
  EXPECT_EQ(zynParameterUtils::to_givector2(*bad).is_set(), 0);
  EXPECT_EQ(zynParameterUtils::to_gipoint2(*zynParameterError::create(PS_ERR_NAME)).is_set(), 0);
  EXPECT_EQ(zynParameterUtils::is_entity(zynParameterPtr()), 0);
}

TEST(ParameterGeometry, FromWritesExistingElementsOnly) {
  const zynParameterPtr v = zyn_test_vector(0, 0, 0);
  zynParameterUtils::from_giunitvec3(*v, giUnitVec3(0, 3, 4));
  zynParameterUtils::from_givector2(*v, giVector2(7, 8));
  const giVector3 got = zyn_test_components(*v);
  EXPECT_EQ(got.x(), 7.0);
  EXPECT_EQ(got.y(), 8.0);
  EXPECT_NEAR(got.z(), 0.8, 1e-12);
  // Two components take the first two coordinates; nothing is appended.
  const zynParameterPtr v2 = zyn_test_vector2(0, 0);
  zynParameterUtils::from_givector3(*v2, giVector3(5, 6, 7));
  EXPECT_EQ(v2->size(), 2);
  EXPECT_EQ(element(v2, 1)->get_double(), 6.0);
  zynParameterUtils::from_gipoint2(*v2, giPoint2(1, 2));
  EXPECT_EQ(element(v2, 0)->get_double(), 1.0);
  zynParameterUtils::from_giunitvec2(*v2, giUnitVec2(0, 2));
  EXPECT_EQ(element(v2, 0)->get_double(), 0.0);
  EXPECT_EQ(element(v2, 1)->get_double(), 1.0);
}

TEST(ParameterGeometry, DefaultValidByKind) {
  zynParameterNumeric* ranged = new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_NONE), 5.0);
  zynParameterPtr r(ranged);
  ranged->set_range(zynRange(0.0, 10.0));
  EXPECT_EQ(zynParameterUtils::default_valid(*r), 1);
  r->set_string("12");
  EXPECT_EQ(zynParameterUtils::default_valid(*r), 0);
  // An expression that does not evaluate yet passes; a bad literal does not.
  r->set_string("not_yet_defined + 1");
  EXPECT_EQ(zynParameterUtils::default_valid(*r), 1);
  EXPECT_EQ(zynParameterUtils::default_valid(*zynParameterPtr(new zynTestParameter(PT_STRING, PS_STRING))), 1);
}

}  // namespace
