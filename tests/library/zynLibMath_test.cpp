// The numeric built-ins, called from expressions in a tree that reaches the
// library as a host's tree does, and through library handles.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/zynTestGeometry.h"
#include "zyn/zyn.h"
#include "zynLibCases.h"

namespace {

zynParameterPtr call(const char* name, const std::vector<zynParameterPtr>& items) {
  static zynParameterPtr lib(new zynParameterLib());
  return lib[zynParameterKey(name)]->operate_binary("(", zyn_test_args(items));
}

class LibMath : public testing::Test {
 protected:
  LibMath() {
    tree.add("pi", zyn_real(std::acos(-1.0)));
    tree.add("none", zyn_test_real_list({}));
    tree.add("list", zyn_test_real_list({4, -2, 9}));
  }
  zynTestLibTree tree;
};

TEST_F(LibMath, FunctionsAndTheirDomains) {
  // Angles come back as ANGLE; every result is dimensionless.
  zyn_check_lib_cases(tree, {
      {"abs(-2.5)", PS_REAL, "2.5"}, {"sign(0)", PS_REAL, "0"}, {"sign(-0.001)", PS_REAL, "-1"},
      {"sqrt(2.25)", PS_REAL, "1.5"}, {"exp(1)", PS_REAL, "2.718281828"}, {"ln(exp(2))", PS_REAL, "2"},
      {"log(1000)", PS_REAL, "3"}, {"sin(pi / 2)", PS_REAL, "1"}, {"cos(pi)", PS_REAL, "-1"},
      {"tan(pi / 4)", PS_REAL, "1"}, {"asin(1)", PS_ANGLE, "1.570796327"}, {"acos(-1)", PS_ANGLE, "3.141592654"},
      {"atan(1)", PS_ANGLE, "0.7853981634"}, {"atan(-1e300)", PS_ANGLE, "-1.570796327"},
      {"sqrt(-1)", PS_ERR_DOMAIN, nullptr}, {"ln(0)", PS_ERR_DOMAIN, nullptr}, {"log(0)", PS_ERR_DOMAIN, nullptr},
      {"asin(1.0000001)", PS_ERR_DOMAIN, nullptr}, {"acos(2)", PS_ERR_DOMAIN, nullptr},
      // compare is strictly within the tolerance.
      {"compare(1, 1.05, 0.1)", PS_BOOL, "1"}, {"compare(2, 2, 0)", PS_BOOL, "0"}, {"compare(1, 2, 1)", PS_BOOL, "0"},
      {"sum()", PS_REAL, "0"}, {"sum(1, 2, 3)", PS_REAL, "6"}, {"sum(list)", PS_REAL, "11"},
      {"sum({1; 5})", PS_REAL, "6"}, {"max(1, 7, 3)", PS_REAL, "7"}, {"min(list)", PS_REAL, "-2"},
      {"mean(1, 2, 6)", PS_REAL, "3"}, {"sum(none)", PS_REAL, "0"}, {"max(none)", PS_REAL, "-1.797693135e+308"},
      {"min(none)", PS_REAL, "1.797693135e+308"}, {"mean(none)", PS_REAL, "nan"},
      // round halves upward and clamps its places; beyond the 32-bit range the value is kept as it is.
      {"round(2.5, 0)", PS_REAL, "3"}, {"round(-2.5, 0)", PS_REAL, "-2"}, {"round(3.14159, 2)", PS_REAL, "3.14"},
      {"round(1.5, -3)", PS_REAL, "2"}, {"round(2.675, 1)", PS_REAL, "2.7"}, {"round(-0.4, 0)", PS_REAL, "0"},
      {"round(7, 0.9)", PS_REAL, "7"}, {"round(1e12 + 0.5, 0)", PS_REAL, "1e+12"},
  });
  EXPECT_DOUBLE_EQ(tree.eval("round(1e12 + 0.5, 0)")->get_double(), 1e12 + 1);
  EXPECT_EQ(tree.eval("round(1 / 3, 40)")->get_expr(), "0.3333333333333333");
  const zynParameterPtr abs = call("abs", {zyn_real(-4.0, ZYN_DIM_LENGTH)});
  EXPECT_EQ(zynParameterNumeric::ut_dynamic_cast(abs.pointer())->get_dim(), zynDimensions(ZYN_DIM_NONE));
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"compare(1, 2)", "compare(1, 2, 'x')", "sum(list, list)", "sum(1, '2')",
      "sum({1; '2'})", "sqrt('-5')", "round(1)", "round(1, '2')", "atan2(1)", "atan2(1, '1')", "select(1, 2, 'x')",
      "select('1', 2, 3)", "select(1, 2)"});
}

TEST_F(LibMath, TrigonometryFollowsTheAngleUnit) {
  zynParameterLib::set_angle_unit(giAngleDegrees);
  zyn_check_lib_cases(tree, {
      {"sin(90)", PS_REAL, "1"}, {"cos(180)", PS_REAL, "-1"}, {"tan(45)", PS_REAL, "1"}, {"acos(0)", PS_ANGLE, "90"},
      {"asin(-1)", PS_ANGLE, "-90"}, {"atan(1)", PS_ANGLE, "45"}, {"atan2(1, -1)", PS_ANGLE, "135"},
      {"atan2(-2, 0)", PS_ANGLE, "-90"}, {"tan(90)", PS_ERR_DOMAIN, nullptr}, {"tan(-270)", PS_ERR_DOMAIN, nullptr},
  });
  zynParameterLib::set_angle_unit(static_cast<giAngleType>(7));  // any other value is radians
  zyn_check_lib_cases(tree, {{"acos(0)", PS_ANGLE, "1.570796327"}});
  zynParameterLib::set_angle_unit(giAngleRadians);
}

TEST(LibMathCalls, ArgumentChecksComeBeforeDomainChecks) {
  for (const char* name : {"abs", "sign", "sqrt", "exp", "ln", "log", "sin", "cos", "tan", "asin", "acos", "atan",
                           "int", "real", "bool"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(subtype_of(call(name, {zyn_real(-5), zyn_real(1)})), PS_ERR_ARGUMENTS);
    EXPECT_EQ(subtype_of(call(name, {zynParameterLib::error(PS_ERR_DOMAIN)})), PS_ERR_ARGUMENTS);
    EXPECT_EQ(subtype_of(call(name, {zyn_test_real_list({1})})), PS_ERR_ARGUMENTS);
  }
}

TEST(LibMathCalls, SelectReturnsTheChosenArgumentItself) {
  zynParameterPtr a = zyn_real(10), b = zyn_real(20);
  EXPECT_EQ(call("select", {zyn_real(-3), a, b}).pointer(), a.pointer());
  EXPECT_EQ(call("if", {zyn_real(0.5), a, b}).pointer(), b.pointer());
}

// A member reads a result through the result's own subtype first, as the
// evaluator's reading of the same text does.
TEST_F(LibMath, ConversionsToIntRealAndBool) {
  tree.add("i", zyn_test_number(0, PS_INT))->set_string("2.7");
  zynParameterPtr n = tree.add("n", zyn_test_number(0, PS_NUMERIC));
  const std::initializer_list<zynLibCase> cases = {
      {"int('12')", PS_INT, "12"}, {"int(2.7)", PS_INT, "2"}, {"int(-2.5)", PS_INT, "-3"}, {"int(1.1)", PS_INT, "1"},
      {"real('2.5')", PS_REAL, "2.5"}, {"real(int(4))", PS_REAL, "4"}, {"bool(0.25)", PS_BOOL, "1"},
      {"bool('0')", PS_BOOL, "0"}, {"bool(0.5)", PS_BOOL, "1"}, {"int(7)/int(2)", PS_INT, "3"},
      {"if(1; int(2.7); 0)", PS_INT, "2"}, {"i", PS_INT, "2"}};
  zyn_check_lib_cases(tree, cases);
  for (const zynLibCase& c : cases) {
    n->set_string(c.text);
    EXPECT_EQ(zyn_lib_text(n), c.value) << c.text;
    EXPECT_EQ(tree.real(c.text), std::stod(c.value)) << c.text;
  }
}

TEST_F(LibMath, BreakPointsAreSetAndCleared) {
  zynProgressBreak::clear_debug_break_points();
  // Setting a break point twice is no error.
  for (int i = 0; i < 2; ++i) zyn_check_lib_cases(tree, {{"set_break('pocketing', 40)", PS_BOOL, "1"}});
  EXPECT_FALSE(zynProgressBreak::debug_break_due("pocketing", 39));
  EXPECT_TRUE(zynProgressBreak::debug_break_due("pocketing", 40));
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"set_break(1, 40)", "set_break('x')"});
  EXPECT_TRUE(zynProgressBreak::has_debug_break_point("pocketing"));
  zyn_check_lib_cases(tree, {{"clear_breaks()", PS_BOOL, "1"}});
  EXPECT_FALSE(zynProgressBreak::has_debug_break_point("pocketing"));
}

}  // namespace
