#include "zyn/expr/zynEvaluatorValues_internal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "zyn/core/zynParameterError.h"

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

zynParameterPtr zyn_expr_make_number(double) { return zynParameterError::create(PS_ERR_TYPE); }

zynParameterPtr zyn_expr_make_array(std::vector<zynParameterPtr>& stack, size_t base) {
  stack.resize(base);
  return zynParameterError::create(PS_ERR_TYPE);
}

bool zyn_expr_needs_interpolation(const utString& text) {
  return text.find('$') != utString::npos || text.find("%[") != utString::npos;
}
