#include "zyn/values/zynUnits.h"

namespace {

// Seconds per unit, by code.
double scale_of(zynUnitsStandard code) {
  switch (code) {
    case ZYN_UNITS_MILLISECOND: return 0.001;
    case ZYN_UNITS_MINUTE: return 60.0;
    case ZYN_UNITS_HOUR: return 3600.0;
    default: return 1.0;
  }
}

}  // namespace

zynDimensions zynUnits::get_dimensions() const {
  if (m_code >= ZYN_UNITS_MILLISECOND && m_code <= ZYN_UNITS_HOUR) return zynDimensions(ZYN_DIM_TIME);
  return zynDimensions(ZYN_DIM_INVALID);
}

double zynUnits::convert_value_from(double v, zynUnits from, bool& failed) const {
  failed = false;
  if (m_code == ZYN_UNITS_NONE || from.m_code == ZYN_UNITS_NONE) {
    failed = true;
    return v;
  }
  if (m_code == from.m_code) return v;
  if (from.get_dimensions() != get_dimensions()) {
    failed = true;
    return v;
  }
  return v * scale_of(from.m_code) / scale_of(m_code);
}

bool zynUnits::can_convert_from(zynUnits from) const {
  bool failed = false;
  convert_value_from(0.0, from, failed);
  return !failed;
}
