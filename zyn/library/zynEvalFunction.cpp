#include "zyn/library/zynEvalFunction.h"

#include <vector>

#include "zyn/core/zynParameterMap_internal.h"

namespace {

// The number of open function-only scopes, and for every open scope the
// count as it was when that scope opened: the innermost scope is of type
// EF_FUNCTIONS_ONLY exactly when the count grew since then.
struct ScopeState {
  int counter = 0;
  std::vector<int> stack;
};

ScopeState& state() {
  static ScopeState s;
  return s;
}

// Present from load to unload, so the stack is never empty while anything
// else runs and lookups accept any parameter by default.
const zynEvalFunction load_time_scope(EF_ANY);

}  // namespace

zynEvalFunction::zynEvalFunction(zynEvalFunctionType type) : m_type(type) {
  ScopeState& s = state();
  s.stack.push_back(s.counter);
  if (m_type == EF_FUNCTIONS_ONLY) ++s.counter;
}

zynEvalFunction::~zynEvalFunction() {
  ScopeState& s = state();
  if (!s.stack.empty()) s.stack.pop_back();
  if (m_type == EF_FUNCTIONS_ONLY) --s.counter;
}

int zynEvalFunction::functions_only() {
  const ScopeState& s = state();
  return !s.stack.empty() && s.counter > s.stack.back() ? 1 : 0;
}

int zyn_lookup_functions_only() { return zynEvalFunction::functions_only(); }
