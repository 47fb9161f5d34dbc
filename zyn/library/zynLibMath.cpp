// Built-ins that compute with numbers: elementary functions, trigonometry in
// the library angle unit, tolerance comparison, aggregates, rounding, the
// conditional select/if, conversions to INT, REAL and BOOL, and the two
// functions that plant and clear simulated progress breaks. Every result is a
// new dimensionless numeric, whatever the dimensions of the arguments.
#include <cfloat>
#include <climits>
#include <cmath>

#include "zyn/collections/zynParameterArray.h"
#include "zyn/host/zynGeometry.h"
#include "zyn/host/zynProgressBreak.h"
#include "zyn/host/zynText.h"
#include "zyn/library/zynLibArgs_internal.h"
#include "zyn/library/zynLibrary_internal.h"
#include "zyn/library/zynParameterLib.h"
#include "zyn/values/zynParameterNumeric.h"

using namespace zyn_lib_args;

namespace {

constexpr int max_round_places = 16;

zynParameterPtr bad_domain() { return zynParameterLib::error(PS_ERR_DOMAIN); }

bool is_kind(const zynParameterPtr& p, zynParameterType kind) {
  return zynParameter::get_type(*p) == kind && p->is_valid();
}

bool is_number(const zynParameterPtr& p) { return is_kind(p, PT_NUMERIC); }

// Reads the single numeric argument of a unary function into "x".
[[nodiscard]] bool single_number(const zynParameterPtr& args, double& x) {
  if (args->size() != 1) return false;
  zynParameterPtr a = arg(args, 0);
  if (!is_number(a)) return false;
  x = a->get_double();
  return true;
}

// Reads exactly "n" numeric arguments into "out".
[[nodiscard]] bool numbers(const zynParameterPtr& args, int n, double* out) {
  if (args->size() != n) return false;
  for (int i = 0; i < n; ++i) {
    zynParameterPtr a = arg(args, i);
    if (!is_number(a)) return false;
    out[i] = a->get_double();
  }
  return true;
}

// Reads an angle back in the library angle unit.
double in_angle_unit(const giAngle& a) {
  return a.angle(zynParameterLib::get_angle_unit() == giAngleDegrees ? giAngleDegrees : giAngleRadians);
}

// --- Elementary functions -------------------------------------------------------

using UnaryFunction = double (*)(double);

template <UnaryFunction F>
zynParameterPtr real_of(const zynParameterPtr& args) {
  double x = 0.0;
  if (!single_number(args, x)) return bad_arguments();
  return new_number(PS_REAL, F(x));
}

double absolute(double x) { return std::fabs(x); }
double sign_of(double x) { return x > 0.0 ? 1.0 : x < 0.0 ? -1.0 : 0.0; }
double exponential(double x) { return std::exp(x); }

zynParameterPtr sqrt_routine(const zynParameterPtr& args) {
  double x = 0.0;
  if (!single_number(args, x)) return bad_arguments();
  if (!(x >= 0.0)) return bad_domain();
  return new_number(PS_REAL, std::sqrt(x));
}

template <UnaryFunction F>
zynParameterPtr logarithm(const zynParameterPtr& args) {
  double x = 0.0;
  if (!single_number(args, x)) return bad_arguments();
  if (!(x > 0.0)) return bad_domain();
  return new_number(PS_REAL, F(x));
}

double natural_log(double x) { return std::log(x); }
double common_log(double x) { return std::log10(x); }

// --- Trigonometry ------------------------------------------------------------

giAngle angle_argument(double x) { return giAngle(zynParameterLib::get_angle_unit(), x); }

zynParameterPtr sin_routine(const zynParameterPtr& args) {
  double x = 0.0;
  if (!single_number(args, x)) return bad_arguments();
  return new_number(PS_REAL, angle_argument(x).sin());
}

zynParameterPtr cos_routine(const zynParameterPtr& args) {
  double x = 0.0;
  if (!single_number(args, x)) return bad_arguments();
  return new_number(PS_REAL, angle_argument(x).cos());
}

zynParameterPtr tan_routine(const zynParameterPtr& args) {
  double x = 0.0;
  if (!single_number(args, x)) return bad_arguments();
  int status = 0;
  double t = angle_argument(x).tan(status);
  if (status != 0) return bad_domain();
  return new_number(PS_REAL, t);
}

// asin and acos accept -1 to 1, both ends included; atan any value.
template <giAngleInverse Kind>
zynParameterPtr inverse_trig(const zynParameterPtr& args) {
  double x = 0.0;
  if (!single_number(args, x)) return bad_arguments();
  if (Kind != giAngleTangent && !(x >= -1.0 && x <= 1.0)) return bad_domain();
  return new_number(PS_ANGLE, in_angle_unit(giAngle(Kind, x)));
}

zynParameterPtr atan2_routine(const zynParameterPtr& args) {
  double yx[2];
  if (!numbers(args, 2, yx)) return bad_arguments();
  return new_number(PS_ANGLE, in_angle_unit(giAngle(giAngleTangent2, yx[0], yx[1])));
}

// --- Comparison, rounding and selection -----------------------------------------

zynParameterPtr compare_routine(const zynParameterPtr& args) {
  double v[3];
  if (!numbers(args, 3, v)) return bad_arguments();
  return new_bool(std::fabs(v[0] - v[1]) < v[2]);
}

zynParameterPtr round_routine(const zynParameterPtr& args) {
  if (args->size() != 2) return bad_arguments();
  zynParameterPtr value = arg(args, 0);
  zynParameterPtr places_arg = arg(args, 1);
  if (!is_number(value) || !is_number(places_arg)) return bad_arguments();
  double x = value->get_double();
  int places = places_arg->get_int();
  places = places < 0 ? 0 : places > max_round_places ? max_round_places : places;
  zynParameterPtr result = new_number(PS_REAL, x);
  if (places > 0) {
    result->set_string(zynformat_double(x, places));
    return result;
  }
  // Halves round upward. Values beyond the 32-bit range (and NaN) cannot pass
  // through an int; they keep their rounded double.
  double rounded = std::floor(x + 0.5);
  if (rounded >= INT_MIN && rounded <= INT_MAX)
    result->set_int(static_cast<int>(rounded));
  else
    result->set_double(rounded);
  return result;
}

// Both branches arrive evaluated; the chosen argument itself is returned.
zynParameterPtr select_routine(const zynParameterPtr& args) {
  if (args->size() != 3) return bad_arguments();
  zynParameterPtr cond = arg(args, 0);
  zynParameterPtr a = arg(args, 1);
  zynParameterPtr b = arg(args, 2);
  if (!is_number(cond) || zynParameter::get_type(*a) != zynParameter::get_type(*b)) return bad_arguments();
  return cond->get_int() != 0 ? a : b;
}

// --- Aggregates -------------------------------------------------------------------

// The numbers of an aggregate: the elements of a single array argument, or
// the arguments themselves.
zynParameterPtr aggregate_items(const zynParameterPtr& args) {
  if (args->size() == 1) {
    zynParameterPtr only = arg(args, 0);
    if (zynParameterArray::ut_dynamic_cast(only.pointer())) return only;
  }
  return args;
}

enum class Aggregate { sum, max, min, mean };

template <Aggregate A>
zynParameterPtr aggregate(const zynParameterPtr& args) {
  if (A != Aggregate::sum && args->size() == 0) return bad_arguments();
  zynParameterPtr items = aggregate_items(args);
  const int n = items->size();
  double acc = A == Aggregate::max ? -DBL_MAX : A == Aggregate::min ? DBL_MAX : 0.0;
  for (int i = 0; i < n; ++i) {
    zynParameterPtr item = arg(items, i);
    if (!is_number(item)) return bad_arguments();
    double v = item->get_double();
    if (A == Aggregate::max) {
      if (v >= acc) acc = v;
    } else if (A == Aggregate::min) {
      if (v <= acc) acc = v;
    } else {
      acc += v;
    }
  }
  // An empty list has no mean: 0/0 gives NaN.
  if (A == Aggregate::mean) acc = n > 0 ? acc / n : std::nan("");
  return new_number(PS_REAL, acc);
}

// --- Conversions --------------------------------------------------------------------

// Reads the value to convert: a number as it is, a text as a number parses
// it, an enumeration (only where "enum_ok") as its integer value.
[[nodiscard]] bool conversion_value(const zynParameterPtr& args, bool enum_ok, double& v) {
  if (args->size() != 1) return false;
  zynParameterPtr a = arg(args, 0);
  if (!a->is_valid()) return false;
  switch (zynParameter::get_type(*a)) {
    case PT_NUMERIC:
      v = a->get_double();
      return true;
    case PT_STRING: {
      zynParameterNumeric parsed(PS_NUMERIC, zynDimensions(ZYN_DIM_NONE), 0.0);
      parsed.copy_value_from(*a);
      v = parsed.get_double();
      return true;
    }
    case PT_ENUM:
      if (!enum_ok) return false;
      v = static_cast<double>(a->get_int());
      return true;
    default:
      return false;
  }
}

template <zynParameterSubType S>
zynParameterPtr convert_to(const zynParameterPtr& args) {
  double v = 0.0;
  if (!conversion_value(args, S == PS_INT, v)) return bad_arguments();
  return new_number(S, v);
}

// --- Progress-break simulation -------------------------------------------------------

zynParameterPtr set_break_routine(const zynParameterPtr& args) {
  if (args->size() != 2) return bad_arguments();
  zynParameterPtr name = arg(args, 0);
  zynParameterPtr percentage = arg(args, 1);
  if (!is_kind(name, PT_STRING) || !is_number(percentage)) return bad_arguments();
  zynProgressBreak::add_debug_break_point(name->get_string(), percentage->get_double());
  return new_bool(1);
}

zynParameterPtr clear_breaks_routine(const zynParameterPtr& args) {
  if (args->size() != 0) return bad_arguments();
  zynProgressBreak::clear_debug_break_points();
  return new_bool(1);
}

constexpr zynLibBuiltin builtins[] = {
    {"abs", &real_of<absolute>, zyn_lib_at_load, "Absolute (positive value)."},
    {"acos", &inverse_trig<giAngleCosine>, zyn_lib_at_load, "Trigonometric arccosine."},
    {"asin", &inverse_trig<giAngleSine>, zyn_lib_at_load, "Trigonometric arcsine."},
    {"atan2", &atan2_routine, zyn_lib_at_load, "Trigonometric arctangent with quadrant determination."},
    {"atan", &inverse_trig<giAngleTangent>, zyn_lib_at_load, "Trigonometric arctangent."},
    {"compare", &compare_routine, zyn_lib_at_load, "Compare the equality of two values to a tolerance."},
    {"cos", &cos_routine, zyn_lib_at_load, "Trigonometric cosine."},
    {"exp", &real_of<exponential>, zyn_lib_at_load, "Exponential."},
    {"ln", &logarithm<natural_log>, zyn_lib_at_load, "Natural logarithm."},
    {"log", &logarithm<common_log>, zyn_lib_at_load, "Common (base 10) logarithm."},
    {"sign", &real_of<sign_of>, zyn_lib_at_load, "Sign of value."},
    {"sin", &sin_routine, zyn_lib_at_load, "Trigonometric sine."},
    {"sqrt", &sqrt_routine, zyn_lib_at_load, "Square root."},
    {"tan", &tan_routine, zyn_lib_at_load, "Trigonometric tangent."},
    {"clear_breaks", &clear_breaks_routine, zyn_lib_at_load | zyn_lib_impure,
     "Remove all progress break simulation points set by set_break()."},
    {"set_break", &set_break_routine, zyn_lib_at_load | zyn_lib_impure,
     "Simulate a break press at the given percentage of the given progress break."},
    {"int", &convert_to<PS_INT>, 0, "Convert to integer value."},
    {"real", &convert_to<PS_REAL>, 0, "Convert to real value."},
    {"bool", &convert_to<PS_BOOL>, 0, "Convert to boolean value."},
    {"sum", &aggregate<Aggregate::sum>, 0, "Adds a list of numbers."},
    {"max", &aggregate<Aggregate::max>, 0, "Find the largest value in a list of numbers."},
    {"min", &aggregate<Aggregate::min>, 0, "Find the smallest value in a list of numbers."},
    {"mean", &aggregate<Aggregate::mean>, 0, "Calculates the mean (average) value of a list of numbers."},
    {"select", &select_routine, 0,
     "If the value of the first parameter is non zero returns the second parameter, otherwise the third parameter."},
    {"if", &select_routine, 0,
     "If the value of the first parameter is non zero returns the second parameter, otherwise the third parameter."},
    {"round", &round_routine, 0, "Round value to the specified number of decimal places."},
};

}  // namespace

zynLibBuiltinTable zyn_lib_math_builtins() { return zyn_lib_table(builtins); }
