#include "zyn/collections/zynCollectionHooks_internal.h"

#include "zyn/collections/zynParameterRef.h"
#include "zyn/core/zynParameterMap.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/geometry/zynParameterUtils.h"
#include "zyn/host/zynUnitsUtils.h"
#include "zyn/values/zynParameterNumeric.h"

int zyn_units_are_metric() { return zynUnitsUtils::get_units() == zynUnitsMetric; }

int zyn_is_entity(const zynParameterPtr& p) { return zynParameterUtils::is_entity(p); }

zynParameterPtr zyn_make_root_reference(const zynParameter& root) {
  zynParameterRef* ref = new zynParameterRef(utString());
  zynParameterPtr result(ref);
  ref->set_ref_from_id(root.get_ref_id());
  ref->set_ref_root_type(zyn_root_type(root));
  return result;
}

int zyn_is_scalar(const zynParameter& p) { return zynParameterScalar::ut_dynamic_cast(&p) != nullptr; }

int zyn_is_open_map(const zynParameter& p) {
  const zynParameterMap* map = zynParameterMap::ut_dynamic_cast(&p);
  return map && !map->is_fixed();
}

int zyn_is_numeric(const zynParameter& p) {
  return zynParameterNumeric::ut_dynamic_cast(&p) && zynParameterNumeric::valid_subtype(zynParameter::get_subtype(p));
}

zynParameterPtr zyn_make_numeric_like(const zynParameter& like) {
  const zynParameterNumeric* n = zynParameterNumeric::ut_dynamic_cast(&like);
  if (!n) return zynParameterPtr();
  return zynParameterPtr(new zynParameterNumeric(zynParameter::get_subtype(*n), n->get_dim(), 0.0));
}
