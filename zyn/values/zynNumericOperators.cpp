// The operators of numerics: arithmetic with subtype promotion and
// dimensions, comparisons, logic on integral values, and the length suffixes
// of number literals. Every result is a new parameter; no operand changes.
#include <cmath>

#include "zyn/collections/zynParameterArray.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/host/zynUnitsUtils.h"
#include "zyn/values/zynNumeric_internal.h"
#include "zyn/values/zynParameterNumeric.h"

namespace {

using Numeric = zynParameterNumeric;

zynParameterPtr error(zynParameterSubType s) { return zynParameterError::create(s); }

zynParameterPtr make(zynParameterSubType s, const zynDimensions& d, double v) {
  return zynParameterPtr(new Numeric(s, d, v));
}

zynParameterPtr make_bool(bool b) { return zynParameterPtr(Numeric::create_bool(b)); }

bool real_like(zynParameterSubType s) { return s == PS_REAL || s == PS_ANGLE; }

// A length suffix: its size in the base unit (k) of the unit system it
// belongs to.
struct LengthSuffix {
  const char* name;
  zynUnitsType system;
  double k;
};

constexpr LengthSuffix length_suffixes[] = {
    {"m", zynUnitsMetric, 1000.0},  {"cm", zynUnitsMetric, 10.0}, {"mm", zynUnitsMetric, 1.0},
    {"um", zynUnitsMetric, 0.001},  {"yd", zynUnitsImperial, 36.0}, {"ft", zynUnitsImperial, 12.0},
    {"in", zynUnitsImperial, 1.0},  {"th", zynUnitsImperial, 0.001},
};

// The binary operators a numeric knows, read once from the operator text.
enum class BinaryOp { other, eq, ne, gt, ge, lt, le, land, lor, lxor, add, sub, mul, div, mod, pow };

BinaryOp binary_op(const utString& op) {
  if (op.size() == 1) {
    switch (op[0]) {
      case '>': return BinaryOp::gt;
      case '<': return BinaryOp::lt;
      case '&': return BinaryOp::land;
      case '|': return BinaryOp::lor;
      case '+': return BinaryOp::add;
      case '-': return BinaryOp::sub;
      case '*': return BinaryOp::mul;
      case '/': return BinaryOp::div;
      case '%': return BinaryOp::mod;
      case '^': return BinaryOp::pow;
      default: return BinaryOp::other;
    }
  }
  if (op == "==") return BinaryOp::eq;
  if (op == "!=") return BinaryOp::ne;
  if (op == ">=") return BinaryOp::ge;
  if (op == "<=") return BinaryOp::le;
  if (op == "xor") return BinaryOp::lxor;
  return BinaryOp::other;
}

// "==" and "!=" use the coincidence tolerance; ordering is exact.
zynParameterPtr compare(BinaryOp op, double a, double b) {
  switch (op) {
    case BinaryOp::eq: return make_bool(std::fabs(a - b) <= Numeric::comparison_tol());
    case BinaryOp::ne: return make_bool(std::fabs(a - b) > Numeric::comparison_tol());
    case BinaryOp::gt: return make_bool(a > b);
    case BinaryOp::ge: return make_bool(!(a < b));
    case BinaryOp::lt: return make_bool(a < b);
    case BinaryOp::le: return make_bool(!(b < a));
    default: return zynParameterPtr();
  }
}

bool boolean_operand(zynParameterSubType s, double v) {
  return (s == PS_NUMERIC || s == PS_BOOL) && zyn_is_integral(v);
}

}  // namespace

// Operands are taken at their evaluated values (subtype rule applied, no
// range), as the new numerics that evaluate() would return hold them.
zynParameterPtr zynParameterNumeric::operate_binary(const utString& op, const zynParameterPtr& rhs) const {
  double a = 0.0;
  zynParameterPtr failure = evaluated_value(a);
  if (!failure.is_null()) return failure;
  if (rhs->is_error()) return rhs;
  if (get_type(*rhs) != PT_NUMERIC) {
    if (get_type(*rhs) == PT_ARRAY && op != "[" && op != "(" && op != ".") return broadcast(op, rhs);
    return zynParameterScalar::operate_binary(op, rhs);
  }
  const zynParameterNumeric* r = ut_dynamic_cast(rhs->get_ref());
  if (!r) return error(PS_ERR_TYPE);
  double b = 0.0;
  failure = r->evaluated_value(b);
  if (!failure.is_null()) return failure;

  BinaryOp code = binary_op(op);
  switch (code) {
    case BinaryOp::other: return zynParameterScalar::operate_binary(op, rhs);
    case BinaryOp::land:
    case BinaryOp::lor:
    case BinaryOp::lxor: {
      if (!boolean_operand(m_subtype, a) || !boolean_operand(r->m_subtype, b)) return error(PS_ERR_TYPE);
      bool x = a != 0.0;
      bool y = b != 0.0;
      return make_bool(code == BinaryOp::land ? x && y : code == BinaryOp::lor ? x || y : x != y);
    }
    case BinaryOp::add:
    case BinaryOp::sub:
    case BinaryOp::mul:
    case BinaryOp::div:
    case BinaryOp::mod:
    case BinaryOp::pow: return arithmetic(static_cast<int>(code), a, *r, b);
    default: return compare(code, a, b);
  }
}

zynParameterPtr zynParameterNumeric::arithmetic(int code, double a, const zynParameterNumeric& r, double b) const {
  // A REAL or ANGLE on the right wins; otherwise the left subtype stands.
  zynParameterSubType s = real_like(r.m_subtype) ? r.m_subtype : m_subtype;
  const zynDimensions& d = m_dims;
  const zynDimensions& rd = r.m_dims;
  switch (static_cast<BinaryOp>(code)) {
    case BinaryOp::add: return make(s, d + rd, a + b);
    case BinaryOp::sub: return make(s, d + rd, a - b);
    case BinaryOp::mul: return make(s, d * rd, a * b);
    case BinaryOp::div: return b == 0.0 ? error(PS_ERR_DIVIDE_BY_ZERO) : make(s, d / rd, a / b);
    case BinaryOp::mod: return b == 0.0 ? error(PS_ERR_DIVIDE_BY_ZERO) : make(m_subtype, d, std::fmod(a, b));
    default: break;
  }
  zynDimensions none(ZYN_DIM_NONE);
  if (b == 0.0) return make(s, none, 1.0);
  // Only a NUMERIC or INT integral exponent carries the dimensions through.
  if ((r.m_subtype == PS_NUMERIC || r.m_subtype == PS_INT) && zyn_is_integral(b))
    return make(s, d.pow(zyn_saturate_to_int(std::floor(b))), std::pow(a, b));
  return a < 0.0 ? error(PS_ERR_DOMAIN) : make(s, none, std::pow(a, b));
}

zynParameterPtr zynParameterNumeric::operate_prefix(const utString& op) const {
  if (!is_valid()) return error(PS_ERR_ARGUMENTS);
  if (op.size() != 1 || (op[0] != '+' && op[0] != '-' && op[0] != '!')) return zynParameter::operate_prefix(op);
  double v = get_double();
  double result = op[0] == '+' ? v : op[0] == '-' ? -v : (v == 0.0 ? 1.0 : 0.0);
  return make(m_subtype, m_dims, result);
}

zynParameterPtr zynParameterNumeric::operate_postfix(const utString& op) const {
  if (!is_valid()) return error(PS_ERR_ARGUMENTS);
  if (op == "!") return error(PS_ERR_SYNTAX);
  if (m_subtype == PS_NUMERIC) {
    for (const LengthSuffix& suffix : length_suffixes) {
      if (op != suffix.name) continue;
      double factor = suffix.k * zynUnitsUtils::get_scale_from(suffix.system);
      return make(PS_NUMERIC, m_dims * zynDimensions(ZYN_DIM_LENGTH), get_double() * factor);
    }
  }
  return zynParameter::operate_postfix(op);
}

// Arrays may nest, and a host can make one contain itself: the depth of
// broadcasting is bounded instead of the stack.
zynParameterPtr zynParameterNumeric::broadcast(const utString& op, const zynParameterPtr& array) const {
  static int depth = 0;
  constexpr int max_depth = 64;
  if (depth >= max_depth) return error(PS_ERR_ARGUMENTS);
  ++depth;
  zynParameterPtr result(new zynParameterArray());
  const zynParameterArray* items = zynParameterArray::ut_dynamic_cast(array.pointer());
  int n = array->size();
  for (int i = 0; i < n; ++i) {
    zynParameterPtr item = items ? items->get_element(i) : (*array)[zynParameterKey(i, utString())];
    result->add(zynParameterKey(), operate_binary(op, item));
  }
  --depth;
  return result;
}
