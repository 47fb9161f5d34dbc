// zynEvalFunction marks a stretch of evaluation in which name lookups must
// find a function. The evaluator holds one of type EF_FUNCTIONS_ONLY while it
// resolves the name before "(" of a call; map lookups then answer "Invalid
// name" for anything that is not a zynParameterFunction, so f(x) finds the
// function f even where an ancestor's member f of another kind is nearer.
// A scope of type EF_ANY opened inside lifts the restriction again (code that
// evaluates other text on the way). Scopes live on the stack and nest strictly.
#pragma once

#include "zyn/zynExport.h"

enum zynEvalFunctionType : int {
  EF_FUNCTIONS_ONLY = 0,  // lookups accept only function parameters
  EF_ANY = 1              // lookups accept any parameter
};

class ZYN_EXPORT zynEvalFunction {
 public:
  // Opens a scope of "type"; it lasts until the object is destroyed.
  explicit zynEvalFunction(zynEvalFunctionType type);
  ~zynEvalFunction();
  zynEvalFunction(const zynEvalFunction&) = delete;
  zynEvalFunction& operator=(const zynEvalFunction&) = delete;

  // Returns 1 while the innermost open scope is of type EF_FUNCTIONS_ONLY, else 0.
  static int functions_only();

 private:
  zynEvalFunctionType m_type;
};
