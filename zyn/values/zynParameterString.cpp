#include "zyn/values/zynParameterString.h"

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvaluator.h"
#include "zyn/host/zynText.h"
#include "zyn/values/zynParameterNumeric.h"

ZYN_DEFINE_TYPE(zynParameterString, zynParameterScalar)

zynParameterPtr zyn_create_string(const utString& text) {
  if (text.size() > zyn_max_text_size) return zynParameterError::create(PS_ERR_ARGUMENTS);
  return zynParameterPtr(new zynParameterString(text));
}

zynParameterString::zynParameterString(const utString& text) : zynParameterScalar(text) {}

// The default is the text itself, formula included: its interpolated value
// would be frozen in whatever scope the string has when it is built.
void zynParameterString::settle_default() const {
  m_default_pending = false;
  zynParameterImpl& record = impl();
  if (record.get(zynParameterImpl::DEFAULT_VALUE).empty()) record.set(zynParameterImpl::DEFAULT_VALUE, get_value());
}

void zynParameterString::set_value(const utString& text) {
  if (m_default_pending && text != get_value()) settle_default();
  zynParameterScalar::set_value(text);
}

void zynParameterString::reset() {
  if (m_default_pending) settle_default();
  zynParameterScalar::reset();
}

zynParameterPtr zynParameterString::evaluate() const {
  if (!is_expr()) return zynParameterPtr(create_new());
  zynParameterPtr result = zynParameter::evaluate();
  const zynParameterType t = get_type(*result);
  if (t != PT_STRING && t != PT_ERROR) return zynParameterError::create(PS_ERR_TYPE);
  return result;
}

int zynParameterString::is_valid() const { return is_expr() ? zynParameterScalar::is_valid() : zynParameter::is_valid(); }

zynParameterPtr zynParameterString::operate_binary(const utString& op, const zynParameterPtr& rhs) const {
  const zynParameterType t = get_type(*rhs);
  if ((t == PT_STRING || t == PT_NUMERIC) && !op.empty() && (op[0] == '<' || op[0] == '>') && op.size() <= 2) {
    const int c = zyncompare(get_string(), rhs->get_string());
    if (op == ">") return zyn_create_bool(c > 0);
    if (op == ">=") return zyn_create_bool(c >= 0);
    if (op == "<") return zyn_create_bool(c < 0);
    if (op == "<=") return zyn_create_bool(c <= 0);
  }
  return zynParameterScalar::operate_binary(op, rhs);
}

utString zynParameterString::print(int) const {
  utString out = "(STRING";
  if (!is_valid()) out += " !";
  out += ") ";
  const utString& text = get_value();
  out += text;
  const utString value = get_string();
  if (value != text) {
    out += " = ";
    out += value;
  }
  out += '\n';
  return out;
}
