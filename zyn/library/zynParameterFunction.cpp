#include "zyn/library/zynParameterFunction.h"

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterIter.h"
#include "zyn/core/zynParameterMap_internal.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/expr/zynEvaluator.h"
#include "zyn/library/zynLibrary_internal.h"

ZYN_DEFINE_TYPE(zynParameterFunction, zynParameter)

namespace {

const char argv_name[] = "argv";

// Puts the caller's argv back when a call ends, whichever way it ends.
class ArgvScope {
 public:
  ArgvScope(zynParameterPtr& slot, const zynParameterPtr& args) : m_slot(slot), m_saved(slot) { m_slot = args; }
  ~ArgvScope() { m_slot = m_saved; }
  ArgvScope(const ArgvScope&) = delete;
  ArgvScope& operator=(const ArgvScope&) = delete;

 private:
  zynParameterPtr& m_slot;
  zynParameterPtr m_saved;
};

}  // namespace

zynParameterFunction::zynParameterFunction(const utString& expression) : m_expression(expression) {}

zynParameterFunction::zynParameterFunction(const zynParameterFunction& other)
    : zynParameter(other), m_expression(other.m_expression) {}

zynParameterFunction& zynParameterFunction::operator=(const zynParameterFunction& other) {
  if (this == &other) return *this;
  zynParameter::operator=(other);
  m_expression = other.m_expression;
  return *this;
}

zynParameterFunction::~zynParameterFunction() = default;

zynParameter* zynParameterFunction::create_new() const { return new zynParameterFunction(*this); }

void zynParameterFunction::set_string(const utString& s) {
  if (is_locked()) return;
  zyn_eval_note_change();
  m_expression = s;
}

utString zynParameterFunction::print(int) const { return "(FUNCTION) " + m_expression + "\n"; }

zynParameterPtr zynParameterFunction::lookup(const zynParameterKey& key) const {
  if (key.type() != PT_MAP || key.first() != argv_name) return zynParameterError::create(PS_ERR_NAME);
  // Read from outside its body, argv is whatever call happens to be under way.
  if (zyn_eval_running_body() != this) zyn_eval_memo_context_dependent();
  if (key.remainder_str().empty()) return m_argv;
  // Indexing an empty handle would turn argv itself into an error value.
  if (m_argv.is_null()) return zynParameterError::create(PS_ERR_NAME);
  return m_argv[key.remainder()];
}

const zynParameterPtr zynParameterFunction::operator[](const zynParameterKey& key) const { return lookup(key); }

zynParameterPtr zynParameterFunction::operator[](const zynParameterKey& key) { return lookup(key); }

zynParameterPtr zynParameterFunction::operate_binary(const utString& op, const zynParameterPtr& arg) const {
  if (op == "(") return call(arg);
  return zynParameter::operate_binary(op, arg);
}

zynParameterPtr zynParameterFunction::call(const zynParameterPtr& args) const {
  zynLibCallDepth depth;
  if (!depth.ok()) return zynParameterError::create(PS_ERR_REFERENCE);
  ArgvScope scope(m_argv, args);
  const void* caller = zyn_eval_running_body();
  zyn_eval_set_running_body(this);
  zynEvaluator evaluator(this);
  zynParameterPtr result = evaluator.evaluate(m_expression);
  zyn_eval_set_running_body(caller);
  return result;
}

// The call bound (ZYN_NEST_CALL, 200) is deep enough for any sensible
// recursion in user functions, shallow enough to stay far from the end of
// the stack.
zynLibCallDepth::zynLibCallDepth() : m_eval(zynEvalDepth::parameter_weight), m_ok(zyn_nesting_enter(ZYN_NEST_CALL)) {}

zynLibCallDepth::~zynLibCallDepth() {
  if (m_ok) zyn_nesting_leave(ZYN_NEST_CALL);
}

long long zyn_lib_element_count(const zynParameterPtr& p, long long limit) {
  long long count = 1;
  std::vector<std::unique_ptr<zynBaseParIter>> open;
  open.push_back(zynBaseParIter::create(p));
  while (!open.empty() && count < limit) {
    if (!open.back() || !++*open.back()) {
      open.pop_back();
      continue;
    }
    ++count;
    open.push_back(zynBaseParIter::create((*open.back())()));
  }
  return count;
}

int zyn_is_function(const zynParameter* p) { return p && zynParameterFunction::ut_dynamic_cast(p) != nullptr; }
