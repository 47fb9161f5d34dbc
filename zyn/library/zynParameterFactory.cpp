#include "zyn/library/zynParameterFactory.h"

#include "zyn/collections/zynParameterList.h"
#include "zyn/collections/zynParameterRef.h"
#include "zyn/core/zynParameterMap.h"
#include "zyn/library/zynParameterFunction.h"
#include "zyn/values/zynParameterEnum.h"
#include "zyn/values/zynParameterNumeric.h"
#include "zyn/values/zynParameterString.h"

zynParameterPtr zyn_real(double value, zynDimStandard dims) { return zyn_real(value, zynDimensions(dims)); }

zynParameterPtr zyn_real(double value, const zynDimensions& dims) {
  return zynParameterPtr(new zynParameterNumeric(PS_REAL, dims, value));
}

zynParameterPtr zyn_integer(int value) {
  return zynParameterPtr(new zynParameterNumeric(PS_INT, zynDimensions(ZYN_DIM_NONE), value));
}

zynParameterPtr zyn_boolean(bool value) { return zynParameterPtr(zynParameterNumeric::create_bool(value)); }

zynParameterPtr zyn_angle(double value) {
  return zynParameterPtr(new zynParameterNumeric(PS_ANGLE, zynDimensions(ZYN_DIM_NONE), value));
}

zynParameterPtr zyn_string(const utString& text) { return zynParameterPtr(new zynParameterString(text)); }

zynParameterPtr zyn_enum(const utString& states, const utString& value) {
  return zynParameterPtr(new zynParameterEnum(states, value));
}

zynParameterPtr zyn_map() { return zynParameterPtr(new zynParameterMap()); }

zynParameterPtr zyn_list(const zynParameterPtr& element_type) {
  return zynParameterPtr(new zynParameterList(element_type));
}

zynParameterPtr zyn_ref(const utString& path) { return zynParameterPtr(new zynParameterRef(path)); }

zynParameterPtr zyn_function(const utString& body) { return zynParameterPtr(new zynParameterFunction(body)); }
