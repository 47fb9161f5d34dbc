// The little arithmetic of the utility library that numeric operators use:
// integer powers and the floating remainder.
#pragma once

#include <cmath>

#include "zyn/zynExport.h"

class ZYN_EXPORT utMath {
 public:
  utMath() = delete;

  // Returns x to the integer power n (x^0 is 1, also for x = 0).
  static double pow(double x, int n) { return std::pow(x, n); }

  // Returns the remainder of a by b with the sign of a (a - n*b, n = a/b
  // truncated); NaN when b is 0 or a is infinite.
  static double remd(double a, double b) { return std::fmod(a, b); }
};
