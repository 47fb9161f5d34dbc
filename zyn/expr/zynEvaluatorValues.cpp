#include "zyn/expr/zynEvaluatorValues_internal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "zyn/collections/zynParameterTempArray.h"
#include "zyn/values/zynParameterNumeric.h"

bool zyn_expr_parse_number(const utString& text, double& value) {
  // Number tokens are short; longer ones (hundreds of digits) take the slow path.
  char buffer[64];
  utString long_copy;
  char* s = buffer;
  const size_t n = text.size();
  if (n == 0) return false;
  if (n >= sizeof buffer) {
    long_copy = text;
    s = &long_copy[0];
  } else {
    std::memcpy(buffer, text.data(), n);
  }
  for (size_t i = 0; i < n; ++i)
    if (s[i] == ',') s[i] = '.';
  auto [end, ec] = std::from_chars(s, s + n, value);
  if (end != s + n) return false;
  if (ec == std::errc::result_out_of_range) {
    // Too large gives infinity, too small zero, as the C library reads them.
    utString copy(s, n);
    value = std::strtod(copy.c_str(), nullptr);
  }
  return true;
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
