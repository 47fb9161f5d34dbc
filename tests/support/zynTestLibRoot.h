// A root as a host builds one for expressions that call built-ins: names its
// tree does not hold fall back to a library object it owns, so "sin(x)" or
// "join(l, ',')" evaluate in any parameter of the tree.
#pragma once

#include "zyn/zyn.h"

class zynTestLibRoot : public zynParameterRoot {
 public:
  ZYN_DECLARE_TYPE(zynTestLibRoot, zynParameterRoot)

  // An empty root of type "Host" with the library object installed.
  zynTestLibRoot();
  zynTestLibRoot(const zynTestLibRoot& other) = default;
  zynParameter* create_new() const override { return new zynTestLibRoot(*this); }

 protected:
  // The root's pseudo-members, then the built-ins.
  zynParameterPtr lookup_method(const zynParameterKey& key) const override;

 private:
  zynParameterPtr m_lib;
};

// Returns a new zynTestLibRoot.
zynParameterPtr zyn_test_lib_root();

// Returns the value of "text" evaluated with "owner" as its context.
zynParameterPtr zyn_test_eval(const zynParameterPtr& owner, const utString& text);

// Makes "scope" the evaluation scope of the library while it lives and
// empties the scope afterwards.
class zynTestEvalScope {
 public:
  explicit zynTestEvalScope(const zynParameterPtr& scope) { zynParameterLib::set_eval_scope(scope); }
  ~zynTestEvalScope() { zynParameterLib::set_eval_scope(zynParameterPtr()); }
  zynTestEvalScope(const zynTestEvalScope&) = delete;
  zynTestEvalScope& operator=(const zynTestEvalScope&) = delete;
};
