#include "zyn/library/zynParameterMemberFunction.h"

#include "zyn/core/zynParameterError.h"

ZYN_DEFINE_TYPE(zynParameterMemberFunction, zynParameterFunction)

zynParameterMemberFunction::zynParameterMemberFunction(zynParameterMemberRoutine routine)
    : zynParameterFunction(" "), m_routine(routine) {}

zynParameter* zynParameterMemberFunction::create_new() const { return new zynParameterMemberFunction(*this); }

zynParameterPtr zynParameterMemberFunction::operate_binary(const utString& op, const zynParameterPtr& arg) const {
  if (op != "(") return zynParameterFunction::operate_binary(op, arg);
  if (!m_routine) return zynParameterError::create(PS_ERR_DOMAIN);
  return m_routine(*this, arg);
}
