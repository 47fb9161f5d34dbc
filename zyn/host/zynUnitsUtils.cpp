#include "zyn/host/zynUnitsUtils.h"

#include "zyn/expr/zynEvalMemo_internal.h"

namespace {

zynUnitsType g_units = zynUnitsMetric;

// Length of one unit of system "t" in millimetres; an unknown code counts as
// millimetres so that a stray value never scales by zero.
double unit_length_mm(zynUnitsType t) { return t == zynUnitsImperial ? zynUnitsUtils::mm_per_inch : 1.0; }

}  // namespace

zynUnitsType zynUnitsUtils::get_units() { return g_units; }

int zynUnitsUtils::set_units(int units) {
  if (units != zynUnitsMetric && units != zynUnitsImperial) return 0;
  zyn_eval_note_change();  // length suffixes scale by it
  g_units = static_cast<zynUnitsType>(units);
  return 1;
}

double zynUnitsUtils::get_scale_from(zynUnitsType from) { return unit_length_mm(from) / unit_length_mm(g_units); }

double zynUnitsUtils::get_scale_to(zynUnitsType to) { return 1.0 / unit_length_mm(to); }
