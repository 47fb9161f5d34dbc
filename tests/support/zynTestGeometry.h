// Builders shared by the geometry and vector built-in tests: dimensionless
// reals, vectors of reals and argument arrays.
#pragma once

#include <vector>

#include "zyn/zyn.h"

// Returns a new vector of reals holding "x", "y", "z" with access type "t".
zynParameterPtr zyn_test_vector(double x, double y, double z, zynParameterVectorAccessType t = PVA_XYZ);

// Returns a new two-component vector of reals with access type "t".
zynParameterPtr zyn_test_vector2(double x, double y, zynParameterVectorAccessType t = PVA_XYZ);

// Returns a new temporary array holding "elements" (shared, not copied).
zynParameterPtr zyn_test_args(const std::vector<zynParameterPtr>& elements);

// Returns the three components of "p" read with get_double.
giVector3 zyn_test_components(const zynParameter& p);
