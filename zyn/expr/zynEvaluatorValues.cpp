#include "zyn/expr/zynEvaluatorValues_internal.h"

#include "zyn/collections/zynParameterTempArray.h"
#include "zyn/host/zynNumberText.h"
#include "zyn/values/zynParameterNumeric.h"

bool zyn_expr_parse_number(const utString& text, double& value) {
  // Too large gives infinity, too small zero.
  return zyn_read_number(text, {'.', ','}, value) != 0;
}

zynParameterPtr zyn_expr_make_number(double value) {
  return zynParameterPtr(new zynParameterNumeric(PS_NUMERIC, zynDimensions(ZYN_DIM_NONE), value));
}

zynParameterPtr zyn_expr_make_array(std::vector<zynParameterPtr>& stack, size_t base) {
  zynParameterPtr array(new zynParameterTempArray());
  const zynParameterKey append;
  for (size_t i = base; i < stack.size(); ++i) array->add(append, std::move(stack[i]));
  stack.resize(base);
  return array;
}

bool zyn_expr_needs_interpolation(const utString& text) {
  return text.find('$') != utString::npos || text.find("%[") != utString::npos;
}
