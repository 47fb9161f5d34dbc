// The parser half of zynEvaluator: precedence climbing over the lexer's
// tokens, evaluating as it goes.
//
//   expression -> primary { postfix | binop expression | "[" expression "]"
//                           | "(" [expression] ")" }
//   primary    -> name | call-name | literal | prefix expression
//               | "(" [expression] ")" | "{" [expression] "}"
// Binary operators take their right side at one precedence above their own,
// so all of them, "^" included, associate to the left. "," pushes its left
// side onto the value stack; a call, tuple or array literal collects what
// was pushed since it began.
#include "zyn/expr/zynEvaluator.h"

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/expr/zynEvaluatorValues_internal.h"
#include "zyn/expr/zynEvaluator_internal.h"
#include "zyn/host/zynNls.h"
#include "zyn/library/zynEvalFunction.h"
#include "zyn/library/zynParameterLib.h"

namespace {

bool is_error_value(const zynParameterPtr& p) { return zynParameter::get_type(*p) == PT_ERROR; }

// An error that ends the parse: a reference to a missing target travels on
// as an operand instead.
bool stops_parse(const zynParameterPtr& p) { return is_error_value(p) && !p->is_ref(); }

bool is_this(const utString& name) {
  return name.size() == 4 && (name[0] | 0x20) == 't' && (name[1] | 0x20) == 'h' && (name[2] | 0x20) == 'i' &&
         (name[3] | 0x20) == 's';
}

}  // namespace

zynEvalDepth::zynEvalDepth(int weight) : m_weight(weight), m_exceeded(!zyn_nesting_enter(ZYN_NEST_EVAL, weight)) {}
zynEvalDepth::~zynEvalDepth() {
  if (!m_exceeded) zyn_nesting_leave(ZYN_NEST_EVAL, m_weight);
}
int zynEvalDepth::level() { return zyn_nesting(ZYN_NEST_EVAL).level; }

// --- Whole texts -----------------------------------------------------------------

zynParameterPtr zynEvaluator::evaluate(const utString& text) {
  set_text(text);
  m_referenced.clear();
  m_referenced_index.clear();
  m_function_seen = false;
  m_decimal_point = nlsUtils::m_decimal_point;
  const size_t base = m_stack.size();
  zynParameterPtr result = expression(0, 1, 0);
  m_stack.resize(base);  // the leading items of a top-level list
  return finish(result);
}

zynParameterPtr zynEvaluator::evaluate(const zynParameterPtr& p) { return zynParameter::evaluate(*p); }

zynParameterPtr zynEvaluator::finish(const zynParameterPtr& result) {
  if (m_too_deep) return zynParameterError::create(PS_ERR_REFERENCE);
  if (m_lex_failed) return zynParameterError::create(PS_ERR_SYNTAX);
  // A closing bracket the grammar did not take ("1]") is left as the token.
  if (m_pos >= m_text.size() && m_kind == TK_END && check_parentheses()) return result;
  // An error that stopped the parse early is reported as such.
  if (is_error_value(result) || result->is_ref()) return zynParameterError::create(PS_ERR_REFERENCE);
  return zynParameterError::create(PS_ERR_SYNTAX);
}

void zynEvaluator::get_paramset(zynParameterPtrcoDList& out) const { out = m_referenced; }

zynParameterPtr zynEvaluator::fail(int subtype) {
  m_kind = TK_END;  // the operator code stays, for the empty-bracket test
  return zynParameterError::create(subtype);
}

// --- Operators -------------------------------------------------------------------

zynParameterPtr zynEvaluator::expression(int min_precedence, int operand_expected, int tolerant) {
  zynEvalDepth depth;
  if (depth.exceeded()) {
    m_too_deep = true;
    return fail(PS_ERR_REFERENCE);
  }
  zynParameterPtr lhs = primary(operand_expected, tolerant);
  note_reference(lhs, m_kind == TK_OPERATOR && m_op == ZYN_OP_MEMBER);
  for (;;) {
    if (m_kind == TK_END) return lhs;
    if (m_kind != TK_OPERATOR) return fail(PS_ERR_SYNTAX);  // two operands in a row
    const int op = m_op;
    const zynExprOpInfo& info = zyn_expr_ops[op];
    if (info.binary < 0) {
      if (info.postfix < 0) return lhs;  // a closing bracket ends this level
      lhs = lhs->operate_postfix(m_token_text);  // postfix operators apply at once
      next_token(0);
    } else if (info.binary < min_precedence) {
      return lhs;
    } else if (op == ZYN_OP_INDEX) {
      if (!apply_index(lhs, tolerant)) return lhs;
    } else if (op == ZYN_OP_CALL) {
      if (!apply_call(lhs, tolerant)) return lhs;
    } else if (!apply_binary(op, lhs, tolerant)) {
      return lhs;
    }
    if (!tolerant && stops_parse(lhs)) {
      m_kind = TK_END;
      return lhs;
    }
  }
}

bool zynEvaluator::apply_binary(int op, zynParameterPtr& lhs, int tolerant) {
  // A short-circuit operand is parsed without being evaluated: 0 & x is 0
  // and 5 | x is 5, and x is never looked up.
  bool skip = tolerant != 0;
  if (!skip && op == ZYN_OP_AND) skip = lhs->get_double() == 0.0;
  if (!skip && op == ZYN_OP_OR) skip = lhs->get_double() != 0.0;
  zynParameterPtr rhs = expression(zyn_expr_ops[op].binary + 1, op != ZYN_OP_MEMBER, skip);
  if (skip) return true;
  if (stops_parse(rhs)) {
    m_kind = TK_END;
    lhs = rhs;
    return false;
  }
  if (op == ZYN_OP_LIST) {
    m_stack.push_back(lhs);
    lhs = rhs;
    return true;
  }
  lhs = lhs->operate_binary(zyn_expr_op_text(op), rhs);
  if (op == ZYN_OP_MEMBER) note_reference(lhs, m_kind == TK_OPERATOR && m_op == ZYN_OP_MEMBER);
  return true;
}

bool zynEvaluator::apply_index(zynParameterPtr& lhs, int tolerant) {
  zynParameterPtr index = expression(0, 1, tolerant);
  if (!tolerant) {
    if (is_error_value(index)) {
      m_kind = TK_END;
      lhs = index;
      return false;
    }
    lhs = lhs->operate_binary(zyn_expr_op_text(ZYN_OP_INDEX), index);
    if (m_kind != TK_OPERATOR || m_op != ZYN_OP_CLOSE_BRACKET) {
      lhs = fail(PS_ERR_SYNTAX);
      return false;
    }
  }
  next_token(0);
  return true;
}

bool zynEvaluator::apply_call(zynParameterPtr& lhs, int tolerant) {
  const size_t base = m_stack.size();
  const int count = m_token_count;
  m_stack.push_back(expression(0, 1, tolerant));
  const zynParameterPtr last = m_stack.back();
  // f() reads ")" where an operand should stand: one token, one error.
  if (!is_error_value(lhs) && m_stack.size() == base + 1 && is_error_value(last) && m_kind == TK_END &&
      m_op == ZYN_OP_CLOSE_PAREN && m_token_count == count + 1) {
    m_stack.resize(base);
    m_kind = TK_OPERATOR;
  }
  zynParameterPtr args = zyn_expr_make_array(m_stack, base);
  if (m_kind != TK_OPERATOR || m_op != ZYN_OP_CLOSE_PAREN) {
    // An argument that failed hands its own error on.
    lhs = (!tolerant && m_kind == TK_END && stops_parse(last)) ? last : fail(PS_ERR_SYNTAX);
    m_kind = TK_END;
    return false;
  }
  next_token(0);
  note_callee(lhs);
  lhs = lhs->operate_binary(zyn_expr_op_text(ZYN_OP_CALL), args);
  return true;
}

void zynEvaluator::note_callee(const zynParameterPtr& callee) {
  // User functions and built-ins answer for themselves; what a host's own
  // function does is unknown, so nothing read around it is kept.
  const zynParameter* f = callee->get_ref();
  if (!f || zynParameter::get_type(*f) != PT_FUNCTION) return;
  if (f->ut_dynamic_type() == zynParameterFunction::ut_static_type() || f->ut_is_kind_of(zynParameterLib::ut_static_type()))
    return;
  zyn_eval_memo_changed();
}

// --- Operands --------------------------------------------------------------------

zynParameterPtr zynEvaluator::primary(int operand_expected, int tolerant) {
  next_token(operand_expected);
  switch (m_kind) {
    case TK_NAME: return get_named_par(operand_expected, tolerant);
    case TK_CALL: {
      zynEvalFunction functions_only(EF_FUNCTIONS_ONLY);  // f( must name a function
      return get_named_par(operand_expected, tolerant);
    }
    case TK_VALUE: {
      zynParameterPtr value = m_token_value;
      next_token(0);
      return value;
    }
    case TK_OPERATOR: break;
    default: return fail(PS_ERR_SYNTAX);
  }
  const int op = m_op;
  if (zyn_expr_ops[op].prefix >= 0) {
    // Prefix operators bind tighter than every binary operator but the
    // postfix forms: -a^2 is (-a)^2, -a.b is -(a.b).
    zynParameterPtr value = expression(zyn_expr_ops[op].prefix, operand_expected, tolerant);
    return value->operate_prefix(zyn_expr_op_text(op));
  }
  if (op == ZYN_OP_CALL) return parse_group(ZYN_OP_CLOSE_PAREN, false, tolerant);
  if (op == ZYN_OP_BRACE) return parse_group(ZYN_OP_CLOSE_BRACE, true, tolerant);
  return fail(PS_ERR_SYNTAX);
}

zynParameterPtr zynEvaluator::parse_group(int closer, bool always_array, int tolerant) {
  const size_t base = m_stack.size();
  const int count = m_token_count;
  m_stack.push_back(expression(0, 1, tolerant));
  const size_t n = m_stack.size() - base;
  if (n == 1 && m_token_count == count + 1 && is_error_value(m_stack.back()) && m_op == closer) {
    m_stack.resize(base);  // "()" or "{}": nothing was inside
    next_token(0);
    return zyn_expr_make_array(m_stack, base);
  }
  zynParameterPtr result = (n == 1 && !always_array) ? m_stack.back() : zyn_expr_make_array(m_stack, base);
  m_stack.resize(base);
  if (m_kind == TK_END) {
    // The text ended inside the brackets, or an error stopped the list. The
    // first error travels on; otherwise the unfinished group stands for its
    // last element, and the unbalanced brackets are reported at the end.
    if (is_error_value(result)) return result;
    return result[zynParameterKey(result->size() - 1, utString())];
  }
  if (m_kind != TK_OPERATOR || m_op != closer) return fail(PS_ERR_SYNTAX);
  next_token(0);
  return result;
}

zynParameterPtr zynEvaluator::get_named_par(int operand_expected, int tolerant) {
  zynParameterPtr result;
  if (!operand_expected) {
    result = zyn_create_string(m_token_text);  // a member name, taken as written
  } else if (!m_owner) {
    result = zynParameterError::create(PS_ERR_NAME);
  } else if (tolerant) {
    result = zyn_create_string(m_token_text);
  } else {
    result = lookup_name(m_token_text);
  }
  next_token(0);
  return result;
}

zynParameterPtr zynEvaluator::lookup_name(const utString& name) const {
  if (!m_owner) return zynParameterError::create(PS_ERR_NAME);
  if (is_this(name)) return zynParameterPtr(coPrfExternal, m_owner);
  return m_owner->resolve(zynParameterKey(name));
}

void zynEvaluator::note_reference(const zynParameterPtr& value, bool chain_goes_on) {
  const zynParameter& p = *value;
  if (zynParameter::get_type(p) == PT_FUNCTION) {
    m_function_seen = true;
    return;
  }
  // Only the end of a member chain counts. The record is read directly: most
  // values (literals, results) have none, and asking for the name would make one.
  if (chain_goes_on || p.get_name().empty()) return;
  // Short lists (the usual case) are searched; long ones get an index, so a
  // text naming thousands of parameters is not quadratic.
  constexpr size_t scan_limit = 16;
  if (m_referenced.size() < scan_limit) {
    for (const zynParameterPtr& known : m_referenced)
      if (known.raw() == value.raw()) return;
  } else {
    if (m_referenced_index.empty())
      for (const zynParameterPtr& known : m_referenced) m_referenced_index.insert(known.raw());
    if (!m_referenced_index.insert(value.raw()).second) return;
  }
  m_referenced.push_back(value);
}
