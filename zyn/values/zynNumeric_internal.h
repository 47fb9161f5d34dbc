// Helpers shared by the numeric's sources: reading, writing and
// normalising the texts of numbers.
#pragma once

#include <cmath>

#include "zyn/host/utString.h"

// Returns true with "value" when "text" (blank padding allowed) is one
// number, read with either '.' or ',' as its decimal separator; "point" is
// the locale's decimal point.
bool zyn_parse_number_text(const utString& text, char point, double& value);

// Returns the literal "text" in the REAL form: trimmed, with a "0" before a
// leading separator, ".0" after an integer, and "point" as the separator.
utString zyn_normalize_real_text(const utString& text, char point);

// Returns "v" truncated toward zero and saturated to the int range; 0 for NaN.
int zyn_saturate_to_int(double v);

// Returns true when "v" has no fractional part (within 1e-15). The remainder
// keeps the sign of "v", so it is taken by magnitude: -2.5 is not integral.
inline bool zyn_is_integral(double v) { return std::fabs(std::fmod(v, 1.0)) < 1e-15; }
