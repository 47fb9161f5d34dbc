#include "support/zynTestValue.h"

#include "zyn/core/zynParameter_internal.h"

ZYN_DEFINE_TYPE(zynTestValue, zynParameter)

zynParameterPtr zynTestValue::operate_binary(const utString& op, const zynParameterPtr& other) const {
  if (op == "!=") return zyn_create_bool(m_value != other->get_int());
  return zynParameter::operate_binary(op, other);
}

zynParameterPtr zynTestValue::operate_prefix(const utString& op) const {
  if (op == "-") return zynParameterPtr(new zynTestValue(-m_value));
  return zynParameterError::create(PS_ERR_TYPE);
}

int zynTestValue::is_equal(const zynParameter& other) const {
  const zynTestValue* v = ut_dynamic_cast(&other);
  return v && v->m_value == m_value;
}
