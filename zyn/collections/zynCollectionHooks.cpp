#include "zyn/collections/zynCollectionHooks_internal.h"

#include "zyn/collections/zynParameterRef.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/geometry/zynParameterUtils.h"
#include "zyn/host/zynUnitsUtils.h"

int zyn_units_are_metric() { return zynUnitsUtils::get_units() == zynUnitsMetric; }

int zyn_is_entity(const zynParameterPtr& p) { return zynParameterUtils::is_entity(p); }

zynParameterPtr zyn_make_root_reference(const zynParameter& root) {
  zynParameterRef* ref = new zynParameterRef(utString());
  zynParameterPtr result(ref);
  ref->set_ref_from_id(root.get_ref_id());
  ref->set_ref_root_type(zyn_root_type(root));
  return result;
}

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
