// zynEvaluator evaluates the expression text of a parameter in the scope of
// its owner. One evaluator lives on the stack of each evaluation.
#pragma once

#include "zyn/core/zynParameter.h"

class zynEvaluator {
 public:
  // An evaluator whose names resolve from "owner" up its ancestors; null
  // makes every name an "Invalid name" error.
  explicit zynEvaluator(const zynParameter* owner = nullptr);

  // Returns the value of "text" in the owner's scope, or an error value.
  zynParameterPtr evaluate(const utString& text);
  // Returns p->evaluate().
  static zynParameterPtr evaluate(const zynParameterPtr& p);

  // Returns "text" with its embedded expressions replaced by their values.
  utString interpolate_string(const utString& text);

  // Copies the parameters the last evaluation read into "out".
  void get_paramset(zynParameterPtrcoDList& out) const;
  // Returns true when the last evaluation referenced a function parameter.
  bool has_function_param() const { return m_function_seen; }

  // Converts neutral '.' decimal points in number tokens to the locale's.
  static utString localize(const utString& text);
  // Converts the locale's decimal points in number tokens to '.'.
  static utString neutralize(const utString& text);

 private:
  const zynParameter* m_owner;
  zynParameterPtrcoDList m_referenced;
  bool m_function_seen = false;
};
