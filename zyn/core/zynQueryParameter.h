// zynQueryParameter lets the library's users ask the host to evaluate an
// expression in the host's own terms (for instance against the active
// project). The host stores its evaluation function once; answers that are
// missing or unusable come back as fixed failure values.
#pragma once

#include "zyn/host/utString.h"

// A process-wide singleton, made on first access; single-threaded.
class ZYN_EXPORT zynQueryParameter {
 public:
  // The host's evaluation function: the answer's text for an expression.
  using zynEvalFn = utString (*)(const utString& expression);

  static zynQueryParameter& singleton();
  // Destroys the singleton (and forgets the host function); the next access makes a new one.
  static void delete_singleton();

  void set_eval_fn(zynEvalFn fn) { m_eval = fn; }

  // Returns the host's answer for "expression"; "" for an empty expression
  // or when no host function is set.
  utString evaluate_expression_string(const utString& expression) const;
  // Returns the answer read as an integer, or 2147483647 when the expression
  // or the answer is empty or the answer does not begin with an integer.
  int evaluate_expression_int(const utString& expression) const;
  // Returns the answer read as a real, or the largest double on failure.
  double evaluate_expression_double(const utString& expression) const;

 private:
  zynEvalFn m_eval = nullptr;
};
