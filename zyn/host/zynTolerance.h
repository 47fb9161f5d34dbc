// The geometry kernel's point-coincidence tolerance: two positions closer
// than this are the same point. Numeric equality of real values uses it.
#pragma once

#include "zyn/zynExport.h"

// The tolerance when the host sets none: 1e-6 in internal length units
// (millimetres), well above the rounding noise of coordinates of a few metres
// and well below any machining tolerance.
constexpr double zyn_default_coincidence_tolerance = 1e-6;

// Returns the current point-coincidence tolerance.
ZYN_EXPORT double zyn_coincidence_tolerance();

// Makes "tolerance" the point-coincidence tolerance and returns the previous
// one. A negative, infinite or NaN tolerance is refused: nothing changes and
// the current one is returned.
ZYN_EXPORT double zyn_set_coincidence_tolerance(double tolerance);
