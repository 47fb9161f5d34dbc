#include "zyn/host/zynTolerance.h"

#include <cmath>

#include "zyn/expr/zynEvalMemo_internal.h"

namespace {
double g_tolerance = zyn_default_coincidence_tolerance;
}  // namespace

double zyn_coincidence_tolerance() { return g_tolerance; }

double zyn_set_coincidence_tolerance(double tolerance) {
  const double previous = g_tolerance;
  zyn_eval_note_change();  // comparisons use it
  if (std::isfinite(tolerance) && tolerance >= 0.0) g_tolerance = tolerance;
  return previous;
}
