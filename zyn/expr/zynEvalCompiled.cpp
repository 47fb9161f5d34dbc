#include "zyn/expr/zynEvalCompiled_internal.h"

#include <cfloat>
#include <climits>
#include <cmath>

#include "zyn/expr/zynEvaluator.h"
#include "zyn/library/zynLibraryRegistry.h"
#include "zyn/library/zynParameterLib.h"
#include "zyn/values/zynNumeric_internal.h"
#include "zyn/values/zynParameterNumeric.h"

namespace {

enum class Op : unsigned char { literal, member, add, sub, mul, div, mod, pow, eq, ne, gt, ge, lt, le, land, lor, max, min, sqrt };

struct OpText {
  const char* text;
  Op op;
};
constexpr OpText binary_texts[] = {{"+", Op::add}, {"-", Op::sub}, {"*", Op::mul}, {"/", Op::div}, {"%", Op::mod},
                                   {"^", Op::pow}, {"==", Op::eq}, {"!=", Op::ne}, {">", Op::gt}, {">=", Op::ge},
                                   {"<", Op::lt},  {"<=", Op::le}, {"&", Op::land}, {"|", Op::lor}};
constexpr OpText call_names[] = {{"max", Op::max}, {"min", Op::min}, {"sqrt", Op::sqrt}};

// The subtype rule of a numeric of subtype "s" (zynParameterNumeric::apply_subtype).
double subtype_rule(zynParameterSubType s, double raw) {
  if (s == PS_INT) return zyn_saturate_to_int(std::floor(raw));
  if (s == PS_BOOL) return raw != 0.0 ? 1.0 : 0.0;
  return raw;
}

bool real_like(zynParameterSubType s) { return s == PS_REAL || s == PS_ANGLE; }

bool boolean_operand(zynParameterSubType s, double v) { return (s == PS_NUMERIC || s == PS_BOOL) && zyn_is_integral(v); }

}  // namespace

struct zynEvalCompiled::Node {
  explicit Node(Op o) : op(o) {}
  Op op;
  int lhs = -1;
  int rhs = -1;
  double value = 0.0;
  const zynParameterNumeric* member = nullptr;
  std::vector<int> args;
};

// What the evaluator holds for an operand: the member itself, or a new
// numeric of "subtype" holding "raw".
struct zynEvalCompiled::Value {
  double raw = 0.0;
  zynParameterSubType subtype = PS_NUMERIC;
  const zynParameterNumeric* member = nullptr;
  // As the operators read it (the subtype rule, no range).
  double evaluated() const { return subtype_rule(subtype, raw); }
  // As get_double() reads it (a member's range too).
  double read() const { return member ? member->get_double() : subtype_rule(subtype, raw); }
};

// Parses with the evaluator's own lexer, by the evaluator's precedences.
class zynEvalCompiler : public zynEvaluator {
 public:
  zynEvalCompiler(const zynParameter& owner, zynEvalCompiled& out) : zynEvaluator(&owner), m_owner(owner), m_out(out) {}

  bool compile(const utString& text) {
    set_text(text);
    int root = operands(0);
    // The whole text is read, without a lexical error or open brackets.
    return root >= 0 && token_kind() == TK_END && token_value().is_null() && check_parentheses() &&
           root == static_cast<int>(m_out.m_nodes.size()) - 1;
  }

 private:
  static constexpr int max_depth = 64;

  int add(zynEvalCompiled::Node n) {
    m_out.m_nodes.push_back(std::move(n));
    return static_cast<int>(m_out.m_nodes.size()) - 1;
  }

  int operands(int min_precedence) {
    if (++m_depth > max_depth) return -1;
    int lhs = operand();
    while (lhs >= 0 && token_kind() == TK_OPERATOR) {
      const auto found = binary_ops().find(token_text());
      if (found == binary_ops().end() || found->second < 2 || found->second > 9) break;  // "," ")" and the like end it
      if (found->second < min_precedence) break;
      const OpText* op = nullptr;
      for (const OpText& t : binary_texts)
        if (token_text() == t.text) op = &t;
      if (!op) return -1;
      const int rhs = operands(found->second + 1);
      if (rhs < 0) return -1;
      zynEvalCompiled::Node n(op->op);
      n.lhs = lhs;
      n.rhs = rhs;
      lhs = add(std::move(n));
    }
    --m_depth;
    if (lhs >= 0 && token_kind() != TK_END && token_kind() != TK_OPERATOR) return -1;
    return lhs;
  }

  int operand() {
    next_token(1);
    switch (token_kind()) {
      case TK_VALUE: {
        if (zynParameter::get_type(*token_value()) != PT_NUMERIC) return -1;
        zynEvalCompiled::Node n(Op::literal);
        n.value = token_value()->get_double();
        next_token(0);
        return add(std::move(n));
      }
      case TK_NAME: return member(token_text());
      case TK_CALL: return call(token_text());
      case TK_OPERATOR: {
        if (token_text() != "(") return -1;
        const int inner = operands(0);
        if (inner < 0 || token_kind() != TK_OPERATOR || token_text() != ")") return -1;
        next_token(0);
        return inner;
      }
      default: return -1;
    }
  }

  // What "name" resolves to, as the evaluator finds it.
  zynParameterPtr resolve(const utString& name) {
    zynEvaluator lookup(&m_owner);
    return lookup.evaluate(name);
  }

  int member(const utString& name) {
    zynParameterPtr p = resolve(name);
    const zynParameterNumeric* numeric = zynParameterNumeric::ut_dynamic_cast(p.raw());
    // Only members of a tree stay put; "this" and references are left to the evaluator.
    if (!numeric || numeric == &m_owner || numeric->get_ref() != numeric || !numeric->parent()) return -1;
    zynEvalCompiled::Node n(Op::member);
    n.member = numeric;
    next_token(0);
    return add(std::move(n));
  }

  int call(const utString& name) {
    const OpText* fn = nullptr;
    for (const OpText& t : call_names)
      if (name == t.text) fn = &t;
    if (!fn) return -1;
    // The library's own routine, reached by this name from here.
    zynParameterPtr p = resolve(name);
    const zynParameterLib* lib = zynParameterLib::ut_dynamic_cast(p.raw());
    const zynParameterLibEntry* entry = zyn_lib_find_entry(name);
    if (!lib || lib->get_string() != name || !entry || !entry->pure) return -1;
    next_token(0);
    if (token_kind() != TK_OPERATOR || token_text() != "(") return -1;
    zynEvalCompiled::Node n(fn->op);
    for (;;) {
      const int arg = operands(2);
      if (arg < 0) return -1;
      n.args.push_back(arg);
      if (token_kind() != TK_OPERATOR) return -1;
      if (token_text() == ")") break;
      if (token_text() != ",") return -1;
    }
    next_token(0);
    return add(std::move(n));
  }

  const zynParameter& m_owner;
  zynEvalCompiled& m_out;
  int m_depth = 0;
};

zynEvalCompiled::zynEvalCompiled() = default;
zynEvalCompiled::~zynEvalCompiled() = default;

std::unique_ptr<zynEvalCompiled> zynEvalCompiled::compile(const zynParameterNumeric& owner, const utString& text) {
  auto compiled = std::make_unique<zynEvalCompiled>();
  zynEvalCompiler compiler(owner, *compiled);
  if (!compiler.compile(text)) return nullptr;
  return compiled;
}

bool zynEvalCompiled::run(double& value) const {
  Value v;
  if (!eval(static_cast<int>(m_nodes.size()) - 1, v)) return false;
  value = v.evaluated();
  return true;
}

bool zynEvalCompiled::eval(int index, Value& out) const {
  const Node& n = m_nodes[static_cast<size_t>(index)];
  switch (n.op) {
    case Op::literal: out = Value{n.value, PS_NUMERIC, nullptr}; return true;
    case Op::member: return n.member->compiled_operand(out.raw, out.subtype) && (out.member = n.member, true);
    case Op::max:
    case Op::min:
    case Op::sqrt: return call(n, out);
    default: break;
  }
  Value l, r;
  if (!eval(n.lhs, l)) return false;
  // A short-circuit operand is not evaluated: the left side is the result.
  if ((n.op == Op::land && l.read() == 0.0) || (n.op == Op::lor && l.read() != 0.0)) {
    out = l;
    return true;
  }
  if (!eval(n.rhs, r)) return false;
  const double a = l.evaluated(), b = r.evaluated();
  const zynParameterSubType s = real_like(r.subtype) ? r.subtype : l.subtype;
  auto number = [&out](zynParameterSubType st, double x) {
    out = Value{x, st, nullptr};
    return true;
  };
  auto boolean = [&](bool x) { return number(PS_BOOL, x ? 1.0 : 0.0); };
  const double tol = zynParameterNumeric::comparison_tol();
  switch (n.op) {
    case Op::add: return number(s, a + b);
    case Op::sub: return number(s, a - b);
    case Op::mul: return number(s, a * b);
    case Op::div: return b != 0.0 && number(s, a / b);
    case Op::mod: return b != 0.0 && number(l.subtype, std::fmod(a, b));
    case Op::pow:
      if (b == 0.0) return number(s, 1.0);
      if ((r.subtype == PS_NUMERIC || r.subtype == PS_INT) && zyn_is_integral(b)) return number(s, std::pow(a, b));
      return a >= 0.0 && number(s, std::pow(a, b));
    case Op::eq: return boolean(std::fabs(a - b) <= tol);
    case Op::ne: return boolean(std::fabs(a - b) > tol);
    case Op::gt: return boolean(a > b);
    case Op::ge: return boolean(!(a < b));
    case Op::lt: return boolean(a < b);
    case Op::le: return boolean(!(b < a));
    case Op::land:
    case Op::lor:
      if (!boolean_operand(l.subtype, a) || !boolean_operand(r.subtype, b)) return false;
      return boolean(n.op == Op::land ? (a != 0.0 && b != 0.0) : (a != 0.0 || b != 0.0));
    default: return false;
  }
}

// The built-ins read their arguments as get_double() does; every result is a REAL.
bool zynEvalCompiled::call(const Node& n, Value& out) const {
  const size_t count = n.args.size();
  if (n.op == Op::sqrt) {
    Value x;
    if (count != 1 || !eval(n.args[0], x)) return false;
    const double v = x.read();
    if (!(v >= 0.0)) return false;
    out = Value{std::sqrt(v), PS_REAL, nullptr};
    return true;
  }
  double acc = n.op == Op::max ? -DBL_MAX : DBL_MAX;
  for (int arg : n.args) {
    Value x;
    if (!eval(arg, x)) return false;
    const double v = x.read();
    if (n.op == Op::max ? v >= acc : v <= acc) acc = v;
  }
  out = Value{acc, PS_REAL, nullptr};
  return true;
}
