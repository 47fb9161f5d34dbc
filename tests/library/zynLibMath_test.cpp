#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

#include "support/zynTestGeometry.h"
#include "support/zynTestLibTree.h"
#include "zyn/zyn.h"

namespace {

zynParameterPtr num(double v) { return zyn_real(v); }

zynParameterPtr call(const char* name, const std::vector<zynParameterPtr>& items) {
  static zynParameterPtr lib(new zynParameterLib());
  zynParameterPtr handle = lib[zynParameterKey(name)];
  return handle->operate_binary("(", zyn_test_args(items));
}

zynParameterSubType subtype_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

// Restores radians whatever a test leaves behind.
class AngleUnit {
 public:
  explicit AngleUnit(giAngleType unit) { zynParameterLib::set_angle_unit(unit); }
  ~AngleUnit() { zynParameterLib::set_angle_unit(giAngleRadians); }
};

struct Case {
  const char* name;
  double x;
  zynParameterSubType subtype;  // of the result; an error code when it fails
  double value;
};

void check(const Case& c, const zynParameterPtr& r) {
  ASSERT_EQ(subtype_of(r), c.subtype);
  if (r->is_error()) return;
  EXPECT_EQ(zynParameter::get_type(*r), PT_NUMERIC);
  EXPECT_NEAR(r->get_double(), c.value, 1e-12);
  EXPECT_EQ(zynParameterNumeric::ut_dynamic_cast(r.pointer())->get_dim(), zynDimensions(ZYN_DIM_NONE));
}

TEST(LibMath, UnaryFunctionsAndTheirDomains) {
  const double pi = std::acos(-1.0);
  const Case cases[] = {
      {"abs", -2.5, PS_REAL, 2.5},          {"abs", 3, PS_REAL, 3},
      {"sign", 0, PS_REAL, 0},              {"sign", -0.001, PS_REAL, -1},
      {"sign", 7, PS_REAL, 1},              {"sqrt", 0, PS_REAL, 0},
      {"sqrt", 2.25, PS_REAL, 1.5},         {"sqrt", -1, PS_ERR_DOMAIN, 0},
      {"exp", 0, PS_REAL, 1},               {"exp", 1, PS_REAL, std::exp(1.0)},
      {"ln", std::exp(2.0), PS_REAL, 2},    {"ln", 0, PS_ERR_DOMAIN, 0},
      {"ln", -1, PS_ERR_DOMAIN, 0},         {"log", 1000, PS_REAL, 3},
      {"log", 0, PS_ERR_DOMAIN, 0},         {"sin", pi / 2, PS_REAL, 1},
      {"cos", pi, PS_REAL, -1},             {"tan", pi / 4, PS_REAL, 1},
      {"asin", 1, PS_ANGLE, pi / 2},        {"asin", 1.0000001, PS_ERR_DOMAIN, 0},
      {"asin", -1.0000001, PS_ERR_DOMAIN, 0}, {"acos", -1, PS_ANGLE, pi},
      {"acos", 0, PS_ANGLE, pi / 2},        {"acos", 2, PS_ERR_DOMAIN, 0},
      {"atan", 1, PS_ANGLE, pi / 4},        {"atan", -1e300, PS_ANGLE, -pi / 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << "(" << c.x << ")");
    check(c, call(c.name, {num(c.x)}));
  }
}

TEST(LibMath, TrigonometryFollowsTheAngleUnit) {
  AngleUnit degrees(giAngleDegrees);
  const Case cases[] = {
      {"sin", 90, PS_REAL, 1},     {"cos", 180, PS_REAL, -1}, {"tan", 45, PS_REAL, 1},
      {"tan", 90, PS_ERR_DOMAIN, 0}, {"tan", -270, PS_ERR_DOMAIN, 0},
      {"acos", 0, PS_ANGLE, 90},   {"asin", -1, PS_ANGLE, -90}, {"atan", 1, PS_ANGLE, 45},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << "(" << c.x << ")");
    check(c, call(c.name, {num(c.x)}));
  }
  check({"atan2", 0, PS_ANGLE, 135}, call("atan2", {num(1), num(-1)}));
  check({"atan2", 0, PS_ANGLE, -90}, call("atan2", {num(-2), num(0)}));
  zynParameterLib::set_angle_unit(static_cast<giAngleType>(7));  // any other value is radians
  check({"acos", 0, PS_ANGLE, std::acos(-1.0) / 2}, call("acos", {num(0)}));
}

TEST(LibMath, ArgumentChecksComeBeforeDomainChecks) {
  for (const char* name : {"abs", "sign", "sqrt", "exp", "ln", "log", "sin", "cos", "tan", "asin", "acos", "atan"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(subtype_of(call(name, {})), PS_ERR_ARGUMENTS);
    EXPECT_EQ(subtype_of(call(name, {num(-5), num(1)})), PS_ERR_ARGUMENTS);
    EXPECT_EQ(subtype_of(call(name, {zyn_string("-5")})), PS_ERR_ARGUMENTS);
    EXPECT_EQ(subtype_of(call(name, {zynParameterLib::error(PS_ERR_DOMAIN)})), PS_ERR_ARGUMENTS);
  }
  EXPECT_EQ(subtype_of(call("atan2", {num(1)})), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(call("atan2", {num(1), zyn_string("1")})), PS_ERR_ARGUMENTS);
}

TEST(LibMath, DimensionsAreDropped) {
  zynParameterPtr length(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_LENGTH), -4.0));
  zynParameterPtr r = call("abs", {length});
  check({"abs", 0, PS_REAL, 4}, r);
}

TEST(LibMath, CompareIsStrictlyWithinTolerance) {
  EXPECT_EQ(call("compare", {num(1), num(1.05), num(0.1)})->get_int(), 1);
  EXPECT_EQ(subtype_of(call("compare", {num(1), num(1.05), num(0.1)})), PS_BOOL);
  EXPECT_EQ(call("compare", {num(2), num(2), num(0)})->get_int(), 0);
  EXPECT_EQ(call("compare", {num(1), num(2), num(1)})->get_int(), 0);
  EXPECT_EQ(subtype_of(call("compare", {num(1), num(2)})), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(call("compare", {num(1), num(2), zyn_string("x")})), PS_ERR_ARGUMENTS);
}

TEST(LibMath, AggregatesOverArgumentsOrOneArray) {
  EXPECT_EQ(call("sum", {})->get_double(), 0.0);
  EXPECT_EQ(call("sum", {num(1), num(2), num(3)})->get_double(), 6.0);
  EXPECT_EQ(call("sum", {zyn_test_real_list({1, 2, 3})})->get_double(), 6.0);
  EXPECT_EQ(call("sum", {num(4)})->get_double(), 4.0);
  EXPECT_EQ(call("sum", {zyn_test_args({num(1), num(5)})})->get_double(), 6.0);
  EXPECT_EQ(call("max", {num(1), num(7), num(3)})->get_double(), 7.0);
  EXPECT_EQ(call("min", {zyn_test_real_list({4, -2, 9})})->get_double(), -2.0);
  EXPECT_EQ(call("mean", {num(1), num(2), num(6)})->get_double(), 3.0);
  EXPECT_EQ(subtype_of(call("mean", {num(1)})), PS_REAL);
  // Two array arguments are not numbers themselves.
  EXPECT_EQ(subtype_of(call("sum", {zyn_test_real_list({1}), zyn_test_real_list({2})})), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(call("sum", {num(1), zyn_string("2")})), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(call("sum", {zyn_test_args({num(1), zyn_string("2")})})), PS_ERR_ARGUMENTS);
  for (const char* name : {"max", "min", "mean"}) EXPECT_EQ(subtype_of(call(name, {})), PS_ERR_ARGUMENTS) << name;
}

TEST(LibMath, AggregatesOfAnEmptyList) {
  EXPECT_EQ(call("sum", {zyn_test_real_list({})})->get_double(), 0.0);
  EXPECT_EQ(call("max", {zyn_test_real_list({})})->get_double(), -DBL_MAX);
  EXPECT_EQ(call("min", {zyn_test_real_list({})})->get_double(), DBL_MAX);
  zynParameterPtr mean = call("mean", {zyn_test_real_list({})});
  EXPECT_EQ(subtype_of(mean), PS_REAL);
  EXPECT_TRUE(std::isnan(mean->get_double()));
}

TEST(LibMath, RoundHalvesUpwardAndClampsPlaces) {
  struct {
    double x;
    double places;
    double expected;
  } cases[] = {
      {2.5, 0, 3}, {-2.5, 0, -2}, {3.14159, 2, 3.14}, {1.5, -3, 2}, {2.675, 1, 2.7}, {-0.4, 0, 0}, {7, 0.9, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "round(" << c.x << ", " << c.places << ")");
    zynParameterPtr r = call("round", {num(c.x), num(c.places)});
    ASSERT_EQ(subtype_of(r), PS_REAL);
    EXPECT_DOUBLE_EQ(r->get_double(), c.expected);
  }
  zynParameterPtr many = call("round", {num(1.0 / 3.0), num(40)});
  EXPECT_EQ(many->get_expr(), "0.3333333333333333");
  // Beyond the 32-bit range the rounded value is kept as it is.
  EXPECT_DOUBLE_EQ(call("round", {num(1e12 + 0.5), num(0)})->get_double(), 1e12 + 1);
  EXPECT_EQ(subtype_of(call("round", {num(1)})), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(call("round", {num(1), zyn_string("2")})), PS_ERR_ARGUMENTS);
}

TEST(LibMath, SelectReturnsTheChosenArgumentItself) {
  zynParameterPtr a = num(10);
  zynParameterPtr b = num(20);
  EXPECT_EQ(call("select", {num(1), a, b}).pointer(), a.pointer());
  EXPECT_EQ(call("if", {num(0), a, b}).pointer(), b.pointer());
  EXPECT_EQ(call("if", {num(0.5), a, b}).pointer(), b.pointer());
  EXPECT_EQ(call("select", {num(-3), a, b}).pointer(), a.pointer());
  EXPECT_EQ(subtype_of(call("select", {num(1), a, zyn_string("x")})), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(call("select", {zyn_string("1"), a, b})), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(call("select", {num(1), a})), PS_ERR_ARGUMENTS);
  EXPECT_EQ(zyn_lib_find_entry("if")->routine, zyn_lib_find_entry("select")->routine);
}

// A member reads a result through the result's own subtype first, as the
// evaluator's reading of the same text does.
TEST(LibMath, ConversionsToIntRealAndBool) {
  zynTestLibTree tree;
  tree.add("i", zyn_test_number(0, PS_INT))->set_string("2.7");
  zynParameterPtr n = tree.add("n", zyn_test_number(0, PS_NUMERIC));
  const struct { const char* text; zynParameterSubType subtype; double value; } cases[] = {
      {"int('12')", PS_INT, 12},  {"int(2.7)", PS_INT, 2},      {"int(-2.5)", PS_INT, -3},
      {"int(1.1)", PS_INT, 1},    {"real('2.5')", PS_REAL, 2.5}, {"real(int(4))", PS_REAL, 4},
      {"bool(0.25)", PS_BOOL, 1}, {"bool('0')", PS_BOOL, 0},    {"bool(0.5)", PS_BOOL, 1},
      {"int(7)/int(2)", PS_INT, 3}, {"if(1; int(2.7); 0)", PS_INT, 2}, {"i", PS_INT, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    zynParameterPtr r = tree.eval(c.text);
    EXPECT_EQ(subtype_of(r), c.subtype);
    EXPECT_EQ(r->get_double(), c.value);
    n->set_string(c.text);
    EXPECT_EQ(n->get_double(), c.value);
    EXPECT_EQ(tree.real(c.text), c.value);
  }
  for (const char* name : {"int", "real", "bool"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(subtype_of(call(name, {})), PS_ERR_ARGUMENTS);
    EXPECT_EQ(subtype_of(call(name, {num(1), num(2)})), PS_ERR_ARGUMENTS);
    EXPECT_EQ(subtype_of(call(name, {zyn_test_real_list({1})})), PS_ERR_ARGUMENTS);
    EXPECT_EQ(subtype_of(call(name, {zynParameterLib::error(PS_ERR_DATA)})), PS_ERR_ARGUMENTS);
  }
}

TEST(LibMath, BreakPointsAreSetAndCleared) {
  zynProgressBreak::clear_debug_break_points();
  zynParameterPtr name = zyn_string("pocketing");
  zynParameterPtr r = call("set_break", {name, num(40)});
  EXPECT_EQ(subtype_of(r), PS_BOOL);
  EXPECT_EQ(r->get_int(), 1);
  EXPECT_TRUE(zynProgressBreak::has_debug_break_point(name->get_string()));
  EXPECT_FALSE(zynProgressBreak::debug_break_due(name->get_string(), 39));
  EXPECT_TRUE(zynProgressBreak::debug_break_due(name->get_string(), 40));
  call("set_break", {name, num(40)});
  EXPECT_EQ(subtype_of(call("set_break", {num(1), num(40)})), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(call("set_break", {zyn_string("x")})), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(call("clear_breaks", {num(1)})), PS_ERR_ARGUMENTS);
  EXPECT_TRUE(zynProgressBreak::has_debug_break_point(name->get_string()));
  EXPECT_EQ(call("clear_breaks", {})->get_int(), 1);
  EXPECT_FALSE(zynProgressBreak::has_debug_break_point(name->get_string()));
}

}  // namespace
