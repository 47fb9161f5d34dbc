// The vector and geometry built-ins, called through library handles as an
// expression calls them.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/zynTestGeometry.h"
#include "support/zynTestLibTree.h"
#include "zyn/zyn.h"

namespace {

constexpr double pi = 3.14159265358979323846;

zynParameterPtr call(const char* name, const std::vector<zynParameterPtr>& args) {
  zynParameterPtr lib(new zynParameterLib());
  zynParameterPtr handle = (*lib)[zynParameterKey(name)];
  return handle->operate_binary("(", zyn_test_args(args));
}

zynParameterPtr v3(double x, double y, double z) { return zyn_test_vector(x, y, z, PVA_NONE); }

zynParameterSubType subtype_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

// Restores the library angle unit when a test ends.
class AngleUnit {
 public:
  explicit AngleUnit(giAngleType unit) : m_saved(zynParameterLib::get_angle_unit()) {
    zynParameterLib::set_angle_unit(unit);
  }
  ~AngleUnit() { zynParameterLib::set_angle_unit(m_saved); }

 private:
  giAngleType m_saved;
};

void expect_vector(const zynParameterPtr& p, double x, double y, double z) {
  ASSERT_EQ(zynParameterUtils::is_vector(*p), 1) << p->print(0);
  const giVector3 v = zyn_test_components(*p);
  EXPECT_NEAR(v.x(), x, 1e-12);
  EXPECT_NEAR(v.y(), y, 1e-12);
  EXPECT_NEAR(v.z(), z, 1e-12);
}

void expect_real(const zynParameterPtr& p, zynParameterSubType subtype, double value) {
  ASSERT_EQ(subtype_of(p), subtype) << p->print(0);
  EXPECT_NEAR(p->get_double(), value, 1e-12);
  const zynParameterNumeric* n = zynParameterNumeric::ut_dynamic_cast(p.pointer());
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->get_dim(), zynDimensions(ZYN_DIM_NONE));
}

TEST(LibVector, UnitAndNormal) {
  const zynParameterPtr u = call("unit", {v3(0, 0, 5)});
  expect_vector(u, 0, 0, 1);
  EXPECT_EQ(subtype_of((*u)[zynParameterKey(0, utString())]), PS_REAL);
  expect_vector(call("unit", {v3(3, 0, -4)}), 0.6, 0, -0.8);
  expect_vector(call("normal", {v3(1, 0, 0), v3(0, 2, 0)}), 0, 0, 2);
  expect_vector(call("normal", {v3(1, 0, 0), v3(2, 0, 0)}), 0, 0, 0);
  expect_vector(call("normal", {v3(0, 1, 0), v3(1, 0, 0)}), 0, 0, -1);
}

TEST(LibVector, AnglesFollowTheLibraryUnit) {
  {
    AngleUnit degrees(giAngleDegrees);
    expect_real(call("angle", {v3(1, 0, 0), v3(0, 1, 0)}), PS_REAL, 90.0);
    expect_real(call("angle", {v3(1, 0, 0), v3(-1, 0, 0)}), PS_REAL, 180.0);
    expect_real(call("apparent_angle", {v3(1, 0, 0), v3(0, 1, 0), v3(0, 0, 1)}), PS_REAL, 90.0);
    expect_real(call("apparent_angle", {v3(1, 0, 0), v3(0, 1, 0), v3(0, 0, -1)}), PS_REAL, -90.0);
    // Components along the reference do not count.
    expect_real(call("apparent_angle", {v3(1, 0, 7), v3(1, 1, -3), v3(0, 0, 2)}), PS_REAL, 45.0);
  }
  AngleUnit radians(giAngleRadians);
  expect_real(call("angle", {v3(1, 0, 0), v3(0, 1, 0)}), PS_REAL, pi / 2);
  expect_real(call("apparent_angle", {v3(0, 1, 0), v3(1, 0, 0), v3(0, 0, 1)}), PS_REAL, -pi / 2);
}

TEST(LibVector, ParallelAndDistance) {
  EXPECT_EQ(call("parallel", {v3(1, 0, 0), v3(-3, 0, 0)})->get_int(), 1);
  EXPECT_EQ(call("parallel", {v3(1, 2, 3), v3(2, 4, 6)})->get_int(), 1);
  EXPECT_EQ(call("parallel", {v3(1, 0, 0), v3(1, 0.1, 0)})->get_int(), 0);
  EXPECT_EQ(subtype_of(call("parallel", {v3(1, 0, 0), v3(0, 1, 0)})), PS_BOOL);
  expect_real(call("distance", {v3(0, 0, 0), v3(3, 4, 0)}), PS_REAL, 5.0);
  expect_real(call("distance", {v3(1, 1, 1), v3(1, 1, 1)}), PS_REAL, 0.0);
}

TEST(LibVector, AzimuthAndElevationAreDegrees) {
  AngleUnit radians(giAngleRadians);
  expect_real(call("azimuth", {v3(0, 1, 0)}), PS_ANGLE, 90.0);
  expect_real(call("azimuth", {v3(-1, -1, 5)}), PS_ANGLE, -135.0);
  expect_real(call("elevation", {v3(1, 0, 1)}), PS_ANGLE, 45.0);
  expect_real(call("elevation", {v3(1, 0, -1)}), PS_ANGLE, -45.0);
  expect_real(call("elevation", {v3(0, 0, -2)}), PS_ANGLE, -90.0);
  // Any three numeric elements serve, whatever the kind of array.
  expect_real(call("azimuth", {zyn_test_args({zyn_real(1), zyn_real(1), zyn_real(0)})}), PS_ANGLE, 45.0);
}

TEST(LibVector, SetVectorWritesTheTargetItself) {
  for (const char* name : {"set_vector", "set_point"}) {
    SCOPED_TRACE(name);
    const zynParameterPtr target = zyn_test_vector(0, 0, 0);
    zynParameterPtr result = call(name, {target, zyn_real(1), zyn_real(2), zyn_real(3)});
    EXPECT_EQ(subtype_of(result), PS_BOOL);
    EXPECT_EQ(result->get_int(), 1);
    expect_vector(target, 1, 2, 3);
    EXPECT_EQ(call(name, {target, v3(-4, 5, 6)})->get_int(), 1);
    expect_vector(target, -4, 5, 6);
  }
}

TEST(LibVector, WrongArgumentsAreInvalidArguments) {
  const zynParameterPtr x = v3(1, 0, 0);
  const zynParameterPtr zero = v3(0, 0, 0);
  const zynParameterPtr num = zyn_real(1);
  const zynParameterPtr list(new zynParameterList(zyn_real(0)));
  const zynParameterPtr flat = zyn_test_vector2(1, 0);
  struct Case {
    const char* name;
    std::vector<zynParameterPtr> args;
  };
  const Case cases[] = {
      {"unit", {}},
      {"unit", {x, x}},
      {"unit", {num}},
      {"unit", {flat}},
      {"unit", {zero}},
      {"angle", {x}},
      {"angle", {x, num}},
      {"angle", {x, zero}},
      {"apparent_angle", {x, v3(0, 1, 0)}},
      {"apparent_angle", {x, v3(0, 1, 0), x}},  // reference parallel to a
      {"apparent_angle", {x, v3(0, 1, 0), v3(0, -2, 0)}},
      {"apparent_angle", {x, zero, v3(0, 0, 1)}},
      {"normal", {x, list}},
      {"normal", {zero, x}},
      {"parallel", {x}},
      {"parallel", {x, flat}},
      {"distance", {x}},
      {"distance", {x, num}},
      {"set_vector", {x}},
      {"set_vector", {x, num}},
      {"set_vector", {num, x}},
      {"set_vector", {x, num, num}},
      {"set_vector", {x, num, zynParameterError::create(PS_ERR_NAME), num}},
      {"set_vector", {flat, num, num, num}},
      {"set_point", {x, x, x, x, x}},
      {"azimuth", {}},
      {"azimuth", {x, x}},
      {"elevation", {x, x}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " with " << c.args.size() << " arguments");
    EXPECT_EQ(subtype_of(call(c.name, c.args)), PS_ERR_ARGUMENTS);
  }
  expect_vector(x, 1, 0, 0);
}

TEST(LibVector, UnusableVectorsAreInvalidDataForAzimuthAndElevation) {
  const zynParameterPtr bad = v3(1, 2, 3);
  (*bad)[zynParameterKey(0, utString())]->set_string("no_such_name");
  for (const char* name : {"azimuth", "elevation"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(subtype_of(call(name, {v3(0, 0, 0)})), PS_ERR_DATA);
    EXPECT_EQ(subtype_of(call(name, {zyn_real(3)})), PS_ERR_DATA);
    EXPECT_EQ(subtype_of(call(name, {bad})), PS_ERR_DATA);
  }
  // Elsewhere an invalid vector is an invalid argument, and a target keeps its value.
  const zynParameterPtr target = zyn_test_vector(7, 8, 9);
  EXPECT_EQ(subtype_of(call("set_vector", {target, bad})), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(call("set_vector", {target, zyn_real(-1.7976931348623157e308), zyn_real(0),
                                            zyn_real(0)})),
            PS_ERR_ARGUMENTS);
  expect_vector(target, 7, 8, 9);
  EXPECT_EQ(subtype_of(call("distance", {bad, v3(0, 0, 0)})), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(call("angle", {bad, v3(0, 0, 1)})), PS_ERR_ARGUMENTS);
}

TEST(LibVector, ExpressionsInAHostTree) {
  const zynParameterPtr root = zyn_test_lib_root();
  root->add("v", zyn_test_vector(0, 0, 0));
  root->add("w", zyn_test_vector(0, 3, 0));
  auto eval = [&](const char* text) { return zyn_test_eval(root, text); };

  expect_vector(eval("unit({0; 0; 5})"), 0, 0, 1);
  expect_vector(eval("normal({1; 0; 0}, w)"), 0, 0, 3);
  // The named vector itself is the target.
  EXPECT_EQ(eval("set_vector(v, 1, 2, 3)")->get_int(), 1);
  expect_vector((*root)["v"], 1, 2, 3);
  EXPECT_EQ(eval("set_point(v, w)")->get_int(), 1);
  expect_vector((*root)["v"], 0, 3, 0);
  EXPECT_EQ(subtype_of(eval("set_vector(v, 'a', 2, 3)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(eval("azimuth({0; 0; 0})")), PS_ERR_DATA);
}

}  // namespace
