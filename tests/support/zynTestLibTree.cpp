#include "support/zynTestLibTree.h"

zynTestLibTree::zynTestLibTree() : root(zyn_test_lib_root()) {}

zynParameterPtr zynTestLibTree::add(const utString& name, zynParameterPtr p) { return root->add(name, p); }

zynParameterPtr zynTestLibTree::eval(const utString& text) const { return zyn_test_eval(root, text); }

double zynTestLibTree::real(const utString& text) {
  zynParameterPtr probe = root[zynParameterKey("probe")];
  if (probe->is_error()) probe = add("probe", zyn_test_number(0.0));
  probe->set_string(text);
  return probe->get_double();
}

zynParameterPtr zyn_test_lib_root() { return zynParameterPtr(new zynParameterLibRoot("Host", 1, "host")); }

zynParameterPtr zyn_test_eval(const zynParameterPtr& owner, const utString& text) {
  zynEvaluator evaluator(owner.pointer());
  return evaluator.evaluate(text);
}

zynParameterPtr zyn_test_number(double v, zynParameterSubType subtype) {
  return zynParameterPtr(new zynParameterNumeric(subtype, zynDimensions(ZYN_DIM_NONE), v));
}

zynParameterPtr zyn_test_real_list(std::initializer_list<double> values) {
  zynParameterPtr list = zyn_list(zyn_real(0.0));
  for (double v : values) (*list)[zynParameterKey(-1, utString())]->set_double(v);
  return list;
}
