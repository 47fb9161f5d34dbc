#include "zyn/host/zynTolerance.h"

#include <cmath>

namespace {
double g_tolerance = zyn_default_coincidence_tolerance;
}  // namespace

double zyn_coincidence_tolerance() { return g_tolerance; }

double zyn_set_coincidence_tolerance(double tolerance) {
  const double previous = g_tolerance;
  if (std::isfinite(tolerance) && tolerance >= 0.0) g_tolerance = tolerance;
  return previous;
}
