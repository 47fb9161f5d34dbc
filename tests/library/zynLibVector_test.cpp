// The vector and geometry built-ins, called through library handles as an
// expression calls them.
#include <gtest/gtest.h>

#include <vector>

#include "support/zynTestGeometry.h"
#include "zyn/zyn.h"
#include "zynLibCases.h"

namespace {

zynParameterPtr call(const char* name, const std::vector<zynParameterPtr>& args) {
  zynParameterPtr lib(new zynParameterLib());
  return (*lib)[zynParameterKey(name)]->operate_binary("(", zyn_test_args(args));
}

zynParameterPtr v3(double x, double y, double z) { return zyn_test_vector(x, y, z, PVA_NONE); }

void expect_vector(const zynParameterPtr& p, double x, double y, double z) {
  ASSERT_EQ(zynParameterUtils::is_vector(*p), 1) << p->print(0);
  const giVector3 v = zyn_test_components(*p);
  EXPECT_NEAR(v.x(), x, 1e-12);
  EXPECT_NEAR(v.y(), y, 1e-12);
  EXPECT_NEAR(v.z(), z, 1e-12);
}

TEST(LibVector, ValuesInAHostTree) {
  const zynParameterPtr root = zyn_test_lib_root();
  root->add("x", v3(1, 0, 0));
  root->add("y", v3(0, 1, 0));
  root->add("z", v3(0, 0, 1));
  const auto eval = [&](const char* text) { return zyn_test_eval(root, text); };
  zynParameterLib::set_angle_unit(giAngleDegrees);
  // Components along the reference of an apparent angle do not count.
  zyn_check_lib_cases(eval, {
      {"unit({0; 0; 5})", PS_VECTOR, "0,0,1"}, {"unit({3; 0; -4})", PS_VECTOR, "0.6,0,-0.8"},
      {"unit({0; 0; 5})[0]", PS_REAL, "0"}, {"normal(x, {0; 2; 0})", PS_VECTOR, "0,0,2"},
      {"normal(x, {2; 0; 0})", PS_VECTOR, "0,0,0"}, {"normal(y, x)", PS_VECTOR, "0,0,-1"},
      {"angle(x, y)", PS_REAL, "90"}, {"angle(x, {-1; 0; 0})", PS_REAL, "180"},
      {"apparent_angle(x, y, z)", PS_REAL, "90"}, {"apparent_angle(x, y, {0; 0; -1})", PS_REAL, "-90"},
      {"apparent_angle({1; 0; 7}, {1; 1; -3}, {0; 0; 2})", PS_REAL, "45"}, {"parallel(x, {-3; 0; 0})", PS_BOOL, "1"},
      {"parallel({1; 2; 3}, {2; 4; 6})", PS_BOOL, "1"}, {"parallel(x, {1; 0.1; 0})", PS_BOOL, "0"},
      {"parallel(x, y)", PS_BOOL, "0"}, {"distance({0; 0; 0}, {3; 4; 0})", PS_REAL, "5"},
      {"distance(z, z)", PS_REAL, "0"},
  });
  zynParameterLib::set_angle_unit(giAngleRadians);
  // Azimuth and elevation are in degrees whatever the unit; any three numeric elements serve.
  zyn_check_lib_cases(eval, {
      {"angle(x, y)", PS_REAL, "1.570796327"}, {"apparent_angle(y, x, z)", PS_REAL, "-1.570796327"},
      {"azimuth(y)", PS_ANGLE, "90"}, {"azimuth({-1; -1; 5})", PS_ANGLE, "-135"},
      {"elevation({1; 0; 1})", PS_ANGLE, "45"}, {"elevation({1; 0; -1})", PS_ANGLE, "-45"},
      {"elevation({0; 0; -2})", PS_ANGLE, "-90"}, {"azimuth({1, 1, 0})", PS_ANGLE, "45"},
  });
  // The named vector itself is the target.
  root->add("v", zyn_test_vector(0, 0, 0));
  EXPECT_EQ(eval("set_vector(v, 1, 2, 3)")->get_int(), 1);
  expect_vector((*root)["v"], 1, 2, 3);
  EXPECT_EQ(eval("set_point(v, y)")->get_int(), 1);
  expect_vector((*root)["v"], 0, 1, 0);
  EXPECT_EQ(eval("set_point(v, 4, 5, 6)")->get_int(), 1);
  expect_vector((*root)["v"], 4, 5, 6);
  EXPECT_EQ(eval("set_vector(v, {-4; 5; 6})")->get_int(), 1);
  expect_vector((*root)["v"], -4, 5, 6);
  zyn_check_lib_errors(eval, PS_ERR_ARGUMENTS, {"set_vector(v, 'a', 2, 3)"});
  zyn_check_lib_errors(eval, PS_ERR_DATA, {"azimuth({0; 0; 0})"});
}

TEST(LibVector, WrongArgumentsAreInvalidArguments) {
  const zynParameterPtr x = v3(1, 0, 0), y = v3(0, 1, 0), zero = v3(0, 0, 0), num = zyn_real(1);
  const zynParameterPtr list(new zynParameterList(zyn_real(0)));
  const zynParameterPtr flat = zyn_test_vector2(1, 0);
  const zynParameterPtr bad = v3(1, 2, 3);
  (*bad)[zynParameterKey(0, utString())]->set_string("no_such_name");
  const zynParameterPtr target = zyn_test_vector(7, 8, 9);
  const struct {
    const char* name;
    std::vector<zynParameterPtr> args;
  } cases[] = {
      {"unit", {x, x}}, {"unit", {num}}, {"unit", {flat}}, {"unit", {zero}}, {"angle", {x}}, {"angle", {x, num}},
      {"angle", {x, zero}}, {"apparent_angle", {x, y}},
      {"apparent_angle", {x, y, x}},  // reference parallel to a
      {"apparent_angle", {x, y, v3(0, -2, 0)}}, {"apparent_angle", {x, zero, v3(0, 0, 1)}}, {"normal", {x, list}},
      {"normal", {zero, x}}, {"parallel", {x}}, {"parallel", {x, flat}}, {"distance", {x}}, {"distance", {x, num}},
      {"set_vector", {x}}, {"set_vector", {x, num}}, {"set_vector", {num, x}}, {"set_vector", {x, num, num}},
      {"set_vector", {x, num, zynParameterError::create(PS_ERR_NAME), num}}, {"set_vector", {flat, num, num, num}},
      {"azimuth", {x, x}}, {"elevation", {x, x}},
      // An invalid vector is an invalid argument, and a target keeps its value.
      {"set_vector", {target, bad}}, {"set_vector", {target, zyn_real(-1.7976931348623157e308), num, num}},
      {"distance", {bad, zero}}, {"angle", {bad, v3(0, 0, 1)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " with " << c.args.size() << " arguments");
    EXPECT_EQ(subtype_of(call(c.name, c.args)), PS_ERR_ARGUMENTS);
  }
  expect_vector(x, 1, 0, 0);
  expect_vector(target, 7, 8, 9);
  // Azimuth and elevation call an unusable vector invalid data.
  for (const char* name : {"azimuth", "elevation"}) {
    for (const zynParameterPtr& arg : {zero, zyn_real(3), bad}) EXPECT_EQ(subtype_of(call(name, {arg})), PS_ERR_DATA) << name;
  }
}

}  // namespace
