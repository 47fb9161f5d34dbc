// Small helpers the test programs share: reading a result's subtype, making
// numerics, and setting the host's decimal point for the length of a scope.
#pragma once

#include "zyn/zyn.h"

// Returns the subtype of "p": the error number of an error value.
inline zynParameterSubType subtype_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

// Returns a new numeric of subtype "s" holding "v", of dimensions "d".
inline zynParameterPtr zyn_test_number(zynParameterSubType s, double v, zynDimensions d = zynDimensions(ZYN_DIM_NONE)) {
  return zynParameterPtr(new zynParameterNumeric(s, d, v));
}

// Sets nlsUtils::m_decimal_point to "c" until the end of the scope.
class zynTestDecimalPoint {
 public:
  explicit zynTestDecimalPoint(char c) : m_saved(nlsUtils::m_decimal_point) { nlsUtils::m_decimal_point = c; }
  ~zynTestDecimalPoint() { nlsUtils::m_decimal_point = m_saved; }
  zynTestDecimalPoint(const zynTestDecimalPoint&) = delete;
  zynTestDecimalPoint& operator=(const zynTestDecimalPoint&) = delete;

 private:
  char m_saved;
};
