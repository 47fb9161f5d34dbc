#include "zyn/library/zynParameterLibRoot.h"

#include "zyn/library/zynParameterLib.h"

ZYN_DEFINE_TYPE(zynParameterLibRoot, zynParameterRoot)

zynParameterLibRoot::zynParameterLibRoot(const utString& root_type, int version, const utString& root_name)
    : zynParameterRoot(root_type, version, root_name), m_lib(new zynParameterLib()) {}

zynParameterPtr zynParameterLibRoot::lookup_method(const zynParameterKey& key) const {
  zynParameterPtr found = zynParameterRoot::lookup_method(key);
  if (!found->is_error()) return found;
  return (*m_lib)[key];
}

zynParameterEvalScope::zynParameterEvalScope(const zynParameterPtr& scope)
    : m_previous(zynParameterLib::get_eval_scope()) {
  zynParameterLib::set_eval_scope(scope);
}

zynParameterEvalScope::zynParameterEvalScope(const zynParameter& scope)
    : zynParameterEvalScope(zynParameterPtr(coPrfExternal, &scope)) {}

zynParameterEvalScope::~zynParameterEvalScope() { zynParameterLib::set_eval_scope(m_previous); }
