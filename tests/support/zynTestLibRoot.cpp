#include "support/zynTestLibRoot.h"

ZYN_DEFINE_TYPE(zynTestLibRoot, zynParameterRoot)

zynTestLibRoot::zynTestLibRoot() : zynParameterRoot("Host", 1, "host"), m_lib(new zynParameterLib()) {}

zynParameterPtr zynTestLibRoot::lookup_method(const zynParameterKey& key) const {
  zynParameterPtr found = zynParameterRoot::lookup_method(key);
  if (!found->is_error()) return found;
  return (*m_lib)[key];
}

zynParameterPtr zyn_test_lib_root() { return zynParameterPtr(new zynTestLibRoot()); }

zynParameterPtr zyn_test_eval(const zynParameterPtr& owner, const utString& text) {
  zynEvaluator evaluator(owner.pointer());
  return evaluator.evaluate(text);
}
