// zynParameterMemberFunction is a callable parameter whose body is a native
// routine supplied by the host: a call f(a, b) runs routine(f, args) with the
// evaluated arguments in a temporary array (read them with
// zynParameterArgDecoder). Its expression text is a single blank.
#pragma once

#include "zyn/library/zynParameterFunction.h"

// The native body of a member function: "self" is the function parameter
// called, "args" the argument array. Returns the value of the call or an
// error value; it must not throw.
using zynParameterMemberRoutine = zynParameterPtr (*)(const zynParameter& self, const zynParameterPtr& args);

class ZYN_EXPORT zynParameterMemberFunction : public zynParameterFunction {
 public:
  ZYN_DECLARE_TYPE(zynParameterMemberFunction, zynParameterFunction)

  // A member function running "routine", which may be null.
  explicit zynParameterMemberFunction(zynParameterMemberRoutine routine);
  zynParameterMemberFunction(const zynParameterMemberFunction& other) = default;

  // Returns a new member function with the same routine.
  zynParameter* create_new() const override;

  zynParameterMemberRoutine get_routine() const { return m_routine; }

  // With "(" returns routine(*this, arg) unchanged, or "Domain error" when
  // there is no routine. Other operators are those of zynParameterFunction.
  zynParameterPtr operate_binary(const utString& op, const zynParameterPtr& arg) const override;

 protected:
  zynParameterSubType subtype() const override { return PS_MEMBERFUNCTION; }

 private:
  zynParameterMemberRoutine m_routine;
};
