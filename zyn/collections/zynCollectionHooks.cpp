#include "zyn/collections/zynCollectionHooks_internal.h"

int zyn_units_are_metric() { return 1; }

int zyn_is_entity(const zynParameterPtr&) { return 0; }

zynParameterPtr zyn_make_root_reference(const zynParameter& root) { return zynParameterPtr(coPrfExternal, &root); }

int zyn_is_scalar(const zynParameter& p) {
  zynParameterType t = zynParameter::get_type(p);
  return (t == PT_STRING || t == PT_NUMERIC || t == PT_ENUM) && !p.is_ref();
}

int zyn_is_open_map(const zynParameter&) { return 0; }

int zyn_is_numeric(const zynParameter& p) {
  zynParameterSubType s = zynParameter::get_subtype(p);
  return zynParameter::get_type(p) == PT_NUMERIC && s >= PS_NUMERIC && s <= PS_ANGLE && !p.is_ref();
}

zynParameterPtr zyn_make_numeric_like(const zynParameter&) { return zynParameterPtr(); }
