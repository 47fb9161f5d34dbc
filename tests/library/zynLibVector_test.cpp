// The vector and geometry built-ins, called from expressions in a host tree.
#include <gtest/gtest.h>

#include "support/zynTestGeometry.h"
#include "zyn/zyn.h"
#include "zynLibCases.h"

namespace {

zynParameterPtr v3(double x, double y, double z) { return zyn_test_vector(x, y, z, PVA_NONE); }

TEST(LibVector, ValuesInAHostTree) {
  const zynParameterPtr root = zyn_test_lib_root();
  root->add("x", v3(1, 0, 0));
  root->add("y", v3(0, 1, 0));
  root->add("z", v3(0, 0, 1));
  root->add("zero", v3(0, 0, 0));
  (*root->add("bad", v3(1, 2, 3)))[zynParameterKey(0, utString())]->set_string("no_such_name");
  root->add("flat", zyn_test_vector2(1, 0));
  root->add("list", zyn_list(zyn_real(0)));
  root->add("v", zyn_test_vector(7, 8, 9));
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
  // Azimuth and elevation call an unusable vector invalid data; the others an invalid argument.
  zyn_check_lib_errors(eval, PS_ERR_DATA, {"azimuth(zero)", "azimuth(3)", "azimuth(bad)", "elevation(zero)",
      "elevation(3)", "elevation(bad)"});
  zyn_check_lib_errors(eval, PS_ERR_ARGUMENTS, {"unit(1)", "unit(flat)", "unit(zero)", "angle(x)", "angle(x, 1)",
      "angle(x, zero)", "apparent_angle(x, y)", "apparent_angle(x, y, x)", "apparent_angle(x, y, {0; -2; 0})",
      "apparent_angle(x, zero, z)", "normal(x, list)", "normal(zero, x)", "parallel(x)", "parallel(x, flat)",
      "distance(x)", "distance(x, 1)", "distance(bad, zero)", "angle(bad, z)", "set_vector(v)", "set_vector(v, 1)",
      "set_vector(1, x)", "set_vector(v, 1, 1)", "set_vector(flat, 1, 1, 1)", "set_vector(v, bad)",
      "set_vector(v, -1.7976931348623157e308, 1, 1)", "set_vector(v, 'a', 2, 3)"});
  // A refused write leaves the target as it was; the named vector itself is the target.
  EXPECT_EQ(zyn_lib_text((*root)["v"]), "7,8,9");
  const struct { const char *text, *value; } writes[] = {
      {"set_vector(v, 1, 2, 3)", "1,2,3"}, {"set_point(v, y)", "0,1,0"}, {"set_point(v, 4, 5, 6)", "4,5,6"},
      {"set_vector(v, {-4; 5; 6})", "-4,5,6"}};
  for (const auto& w : writes) {
    zyn_check_lib_cases(eval, {{w.text, PS_BOOL, "1"}});
    EXPECT_EQ(zyn_lib_text((*root)["v"]), w.value);
  }
}

}  // namespace
