#include "zyn/host/zynGeometry.h"

#include <gtest/gtest.h>

namespace {
constexpr double eps = 1e-12;
}  // namespace

TEST(Geometry, DefaultValuesAreUnset) {
  EXPECT_EQ(giPoint3()[0], -1.7976931348623157e308);
  EXPECT_FALSE(giUnitVec3(giVector3(0, 0, 0)).is_set());
  EXPECT_EQ(giVector3(1, 2, 3)[7], 0.0);
  EXPECT_EQ(giPoint3(1, 2, 3)[-1], 0.0);
  EXPECT_FALSE(giVector3(0, 0, 0).parallel(giVector3(1, 0, 0), 1e-5));
}

TEST(Geometry, AnglesAtTheEdges) {
  EXPECT_NEAR(giAngle(giAngleSine, 1.0000000001).angle(giAngleDegrees), 90.0, eps);  // rounding past 1
  EXPECT_EQ(giAngle(static_cast<giAngleType>(7), 2.0).angle(giAngleRadians), 2.0);   // not 1: radians
  int status = -1;
  giAngle(giAngleRadians, 1.5707963267948966).tan(status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(giAngle(giAngleDegrees, -180.0).tan(status), 0.0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(giAngle(giAngleDegrees, 180.0).sin(), 0.0);
  const giVector3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
  EXPECT_NEAR(apparent_angle(x, y, -z).angle(giAngleDegrees), -90.0, eps);
}

TEST(Geometry, MirrorInPlane) {
  const giXform3 m(giXformMirror, giPoint3(0, 0, 2), giUnitVec3(0, 0, 1));
  EXPECT_NEAR(m.apply(giPoint3(1, 2, 5)).z(), -1.0, eps);
  EXPECT_FALSE(giXform3(giXformMirror, giPoint3(), giUnitVec3(0, 0, 1)).is_valid());

  giWorkplane3 wp;
  ASSERT_TRUE(wp.become(giPoint3(1, 0, 0), giVector3(1, 0, 0), giVector3(0, 0, 1)));
  giWorkplane3 out;
  const giXform3 mx(giXformMirror, giPoint3(0, 0, 0), giUnitVec3(1, 0, 0));
  ASSERT_TRUE(zynWorkplaneUtils::transform(mx, wp, out));
  EXPECT_NEAR(out.origin().x(), -1.0, eps);
  EXPECT_NEAR(out.x_axis().x(), -1.0, eps);
  EXPECT_NEAR(out.y_axis().z(), 1.0, eps);
  EXPECT_NEAR(out.z_axis().y(), 1.0, eps);  // was -1: recomputed, the frame stays right-handed
  EXPECT_FALSE(wp.become(giPoint3(0, 0, 0), giVector3(1, 0, 0), giVector3(2, 0, 0)));
  EXPECT_NEAR(wp.origin().x(), 1.0, eps);  // unchanged by the failed call
}
