#include "zyn/geometry/zynParameterUtils.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/zynTestGeometry.h"
#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

zynParameterPtr element(const zynParameterPtr& p, int i) { return (*p)[zynParameterKey(i, utString())]; }

void expect_near(const giVector3& got, double x, double y, double z) {
  EXPECT_NEAR(got.x(), x, 1e-12);
  EXPECT_NEAR(got.y(), y, 1e-12);
  EXPECT_NEAR(got.z(), z, 1e-12);
}

TEST(ParameterGeometry, VectorNeedsVectorSubtypeSizeAndNumbers) {
  const zynParameterPtr v = zyn_test_vector(1, 2, 3);
  EXPECT_EQ(zynParameterUtils::is_vector(*v), 1);
  EXPECT_EQ(zynParameterUtils::is_vector_2D(*v), 0);
  EXPECT_EQ(zynParameterUtils::is_vector_n(*v, 4), 0);
  EXPECT_EQ(zynParameterUtils::is_vector_2D(*zyn_test_vector2(1, 2)), 1);

  // A temporary array of three numbers qualifies; with a string inside it does not.
  EXPECT_EQ(zynParameterUtils::is_vector(*zyn_test_args({zyn_real(1), zyn_real(2), zyn_real(3)})), 1);
  const zynParameterPtr mixed =
      zyn_test_args({zyn_real(1), zynParameterPtr(new zynTestParameter(PT_STRING, PS_STRING)), zyn_real(3)});
  EXPECT_EQ(zynParameterUtils::is_vector(*mixed), 0);

  // Lists and plain arrays of three numbers are not vectors.
  zynParameterPtr list(new zynParameterList(zyn_real(0)));
  for (int i = 0; i < 3; ++i) (*list)[zynParameterKey(-1, utString())]->set_double(i);
  ASSERT_EQ(list->size(), 3);
  EXPECT_EQ(zynParameterUtils::is_vector(*list), 0);
  EXPECT_EQ(zynParameterUtils::is_vector(*zyn_real(3)), 0);
}

TEST(ParameterGeometry, VectorOfTypeComparesAccessType) {
  EXPECT_EQ(zynParameterUtils::is_vector_n_of_type(*zyn_test_vector(1, 2, 3), 3, PVA_XYZ), 1);
  EXPECT_EQ(zynParameterUtils::is_vector_n_of_type(*zyn_test_vector(1, 2, 3, PVA_RGB), 3, PVA_XYZ), 0);
  EXPECT_EQ(zynParameterUtils::is_vector_n_of_type(*zyn_test_vector2(1, 2), 2, PVA_XYZ), 1);
  EXPECT_EQ(zynParameterUtils::is_vector_n_of_type(*zyn_test_vector2(1, 2), 3, PVA_XYZ), 0);
  const zynParameterPtr args = zyn_test_args({zyn_real(1), zyn_real(2), zyn_real(3)});
  EXPECT_EQ(zynParameterUtils::is_vector_n_of_type(*args, 3, PVA_NONE), 1);
  EXPECT_EQ(zynParameterUtils::is_vector_n_of_type(*args, 3, PVA_XYZ), 0);
}

TEST(ParameterGeometry, ConversionsReadElements) {
  const zynParameterPtr v = zyn_test_vector(1.5, -2, 3);
  expect_near(zynParameterUtils::to_givector3(*v), 1.5, -2, 3);
  const giPoint3 p = zynParameterUtils::to_gipoint3(*v);
  EXPECT_EQ(p.x(), 1.5);
  EXPECT_EQ(p.z(), 3.0);
  const giVector2 v2 = zynParameterUtils::to_givector2(*zyn_test_vector2(4, 5));
  EXPECT_EQ(v2.x(), 4.0);
  EXPECT_EQ(v2.y(), 5.0);
  EXPECT_EQ(zynParameterUtils::to_gipoint2(*v).y(), -2.0);

  expect_near(zynParameterUtils::to_giunitvec3(*zyn_test_vector(0, 0, 5)), 0, 0, 1);
  const giUnitVec2 u2 = zynParameterUtils::to_giunitvec2(*zyn_test_vector2(3, 4));
  EXPECT_NEAR(u2.x(), 0.6, 1e-12);
  EXPECT_NEAR(u2.y(), 0.8, 1e-12);
}

TEST(ParameterGeometry, UnusableInputConvertsToUnset) {
  EXPECT_EQ(zynParameterUtils::to_giunitvec3(*zyn_test_vector(0, 0, 0)).x(), zyn_gi_unset);
  EXPECT_EQ(zynParameterUtils::to_giunitvec2(*zyn_test_vector2(0, 0)).x(), zyn_gi_unset);

  // An element that does not evaluate makes the vector invalid.
  const zynParameterPtr bad = zyn_test_vector(1, 2, 3);
  element(bad, 1)->set_string("no_such_name * 2");
  ASSERT_EQ(bad->is_valid(), 0);
  EXPECT_EQ(zynParameterUtils::to_givector3(*bad).x(), -1.7976931348623157e308);
  EXPECT_EQ(zynParameterUtils::to_gipoint3(*bad).is_set(), 0);
  EXPECT_EQ(zynParameterUtils::to_giunitvec3(*bad).is_set(), 0);
  EXPECT_EQ(zynParameterUtils::to_givector2(*bad).is_set(), 0);
  EXPECT_EQ(zynParameterUtils::to_gipoint2(*zynParameterError::create(PS_ERR_NAME)).is_set(), 0);
}

TEST(ParameterGeometry, FromWritesExistingElementsOnly) {
  const zynParameterPtr v = zyn_test_vector(0, 0, 0);
  zynParameterUtils::from_givector3(*v, giVector3(1, 2, 3));
  expect_near(zyn_test_components(*v), 1, 2, 3);
  zynParameterUtils::from_gipoint3(*v, giPoint3(-1, -2, -3));
  expect_near(zyn_test_components(*v), -1, -2, -3);
  zynParameterUtils::from_giunitvec3(*v, giUnitVec3(0, 3, 4));
  expect_near(zyn_test_components(*v), 0, 0.6, 0.8);
  zynParameterUtils::from_givector2(*v, giVector2(7, 8));
  expect_near(zyn_test_components(*v), 7, 8, 0.8);

  // Two components take the first two coordinates; nothing is appended.
  const zynParameterPtr v2 = zyn_test_vector2(0, 0);
  zynParameterUtils::from_givector3(*v2, giVector3(5, 6, 7));
  EXPECT_EQ(v2->size(), 2);
  EXPECT_EQ(element(v2, 0)->get_double(), 5.0);
  EXPECT_EQ(element(v2, 1)->get_double(), 6.0);
  zynParameterUtils::from_gipoint2(*v2, giPoint2(1, 2));
  zynParameterUtils::from_giunitvec2(*v2, giUnitVec2(0, 2));
  EXPECT_EQ(element(v2, 0)->get_double(), 0.0);
  EXPECT_EQ(element(v2, 1)->get_double(), 1.0);
}

TEST(ParameterGeometry, CloneImplGivesOwnRecord) {
  const zynParameterPtr a = zyn_real(1);
  a->set_name("depth");
  a->set_desc("how deep");
  const zynParameterPtr b = a.copy();
  b->set_name("shared");
  ASSERT_EQ(a->get_name(), "shared");

  zynParameterUtils::clone_impl(*b);
  EXPECT_EQ(b->get_name(), "shared");
  EXPECT_EQ(b->get_desc(), "how deep");
  EXPECT_NE(a->get_impl().get(), b->get_impl().get());
  b->set_name("own");
  b->set_active("0");
  EXPECT_EQ(a->get_name(), "shared");
  EXPECT_EQ(a->get_active_expr(), "");
  EXPECT_EQ(b->is_active(), 0);
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
  EXPECT_EQ(zynParameterUtils::default_valid(*zynParameterError::create(PS_ERR_NAME)), 1);
}

}  // namespace
