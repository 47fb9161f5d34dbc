#include "support/zynTestLibTree.h"

zynTestLibTree::zynTestLibTree() : root(new zynTestLibRoot()) {}

zynParameterPtr zynTestLibTree::add(const utString& name, zynParameterPtr p) { return root->add(name, p); }

zynParameterPtr zynTestLibTree::eval(const utString& text) const {
  zynEvaluator evaluator(root.pointer());
  return evaluator.evaluate(text);
}

double zynTestLibTree::real(const utString& text) {
  zynParameterPtr probe = root[zynParameterKey("probe")];
  if (probe->is_error()) probe = add("probe", zyn_test_number(0.0));
  probe->set_string(text);
  return probe->get_double();
}

zynParameterPtr zyn_test_number(double v, zynParameterSubType subtype) {
  return zynParameterPtr(new zynParameterNumeric(subtype, zynDimensions(ZYN_DIM_NONE), v));
}

zynParameterPtr zyn_test_real_list(std::initializer_list<double> values) {
  zynParameterList* list = new zynParameterList(zyn_test_number(0.0));
  zynParameterPtr owner(list);
  for (double v : values) (*list)[zynParameterKey(-1, utString())]->set_double(v);
  return owner;
}

std::vector<double> zyn_test_doubles(const zynParameterPtr& a) {
  std::vector<double> out;
  for (int i = 0; i < a->size(); ++i) out.push_back(a[zynParameterKey(i, utString())]->get_double());
  return out;
}

std::vector<utString> zyn_test_strings(const zynParameterPtr& a) {
  std::vector<utString> out;
  for (int i = 0; i < a->size(); ++i) out.push_back(a[zynParameterKey(i, utString())]->get_string());
  return out;
}
