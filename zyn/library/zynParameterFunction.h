// zynParameterFunction is a callable parameter whose body is an expression
// text. A call f(a, b) in an expression reaches it as operate_binary("(",
// args) with the evaluated arguments in a temporary array; while the body
// runs, those arguments are visible to it under the name "argv" (argv[0],
// argv.1, or argv itself for the whole array). Member functions and the
// standard library derive from it (zynParameterMemberFunction.h,
// zynParameterLib.h), so name lookups that must find a function test for
// this class (zynEvalFunction.h).
//
// Example: a function whose body is "argv[0] + argv[1]" called as f(2, 3)
// answers 5.
#pragma once

#include "zyn/core/zynParameter.h"

class ZYN_EXPORT zynParameterFunction : public zynParameter {
 public:
  ZYN_DECLARE_TYPE(zynParameterFunction, zynParameter)

  // A function whose body is "expression"; argv is empty.
  explicit zynParameterFunction(const utString& expression);
  // Copies the parameter state and the body; the copy's argv is empty.
  zynParameterFunction(const zynParameterFunction& other);
  // Takes the parameter state and the body of "other"; argv stays as it is.
  zynParameterFunction& operator=(const zynParameterFunction& other);
  ~zynParameterFunction() override;

  // Returns a new copy of this function.
  zynParameter* create_new() const override;

  // Return the body text.
  utString get_string() const override { return m_expression; }
  utString get_expr() const override { return m_expression; }
  // Replaces the body with "s" unless the function is locked.
  void set_string(const utString& s) override;
  // Returns "(FUNCTION) ", the body and "\n".
  utString print(int depth) const override;

  // Returns the argument array of the call in progress for the key "argv"
  // (an empty pointer outside a call), or its element reached by the rest of
  // the key ("argv[0]", "argv.1"). Any other key is an "Invalid name" error;
  // so is an indexed argv outside a call.
  const zynParameterPtr operator[](const zynParameterKey& key) const override;
  zynParameterPtr operator[](const zynParameterKey& key) override;

  // With "(" runs the body with "arg" as argv and returns its value or the
  // first error it met; a call nested too deeply answers "Expression/Reference
  // error". Other operators are the base class's.
  zynParameterPtr operate_binary(const utString& op, const zynParameterPtr& arg) const override;

 protected:
  zynParameterSubType subtype() const override { return PS_FUNCTION; }
  zynParameterType type() const override { return PT_FUNCTION; }

  const utString& body() const { return m_expression; }
  // Replaces the body whether or not the function is locked.
  void set_body(const utString& s) { m_expression = s; }

  // Runs the body with "args" as argv. A call from inside the body sees its
  // own arguments; when it returns, the caller's argv is back in place.
  zynParameterPtr call(const zynParameterPtr& args) const;

 private:
  zynParameterPtr lookup(const zynParameterKey& key) const;

  utString m_expression;
  mutable zynParameterPtr m_argv;  // the arguments of the call in progress
};
