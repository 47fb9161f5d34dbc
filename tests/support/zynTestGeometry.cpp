#include "support/zynTestGeometry.h"

namespace {

void set_component(zynParameter& p, int i, double v) { p[zynParameterKey(i, utString())]->set_double(v); }

double component(const zynParameter& p, int i) { return p[zynParameterKey(i, utString())]->get_double(); }

}  // namespace

zynParameterPtr zyn_test_vector(double x, double y, double z, zynParameterVectorAccessType t) {
  zynParameterVector* v = new zynParameterVector(3, zyn_real(0.0));
  v->set_access_type(t);
  zynParameterPtr p(v);
  set_component(*p, 0, x);
  set_component(*p, 1, y);
  set_component(*p, 2, z);
  return p;
}

zynParameterPtr zyn_test_vector2(double x, double y, zynParameterVectorAccessType t) {
  zynParameterVector* v = new zynParameterVector(2, zyn_real(0.0));
  v->set_access_type(t);
  zynParameterPtr p(v);
  set_component(*p, 0, x);
  set_component(*p, 1, y);
  return p;
}

zynParameterPtr zyn_test_args(const std::vector<zynParameterPtr>& elements) {
  zynParameterPtr args(new zynParameterTempArray());
  for (const zynParameterPtr& e : elements) args->add(zynParameterKey(), e);
  return args;
}

giVector3 zyn_test_components(const zynParameter& p) {
  return giVector3(component(p, 0), component(p, 1), component(p, 2));
}
