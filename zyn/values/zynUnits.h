// Time units of a numeric, used to convert values at the programming
// interface (get_double_in_units / set_double_in_units).
#pragma once

#include "zyn/values/zynDimensions.h"

enum zynUnitsStandard : int {
  ZYN_UNITS_NONE = 0,
  ZYN_UNITS_MILLISECOND = 1,
  ZYN_UNITS_SECOND = 2,
  ZYN_UNITS_MINUTE = 3,
  ZYN_UNITS_HOUR = 4
};

class ZYN_EXPORT zynUnits {
 public:
  zynUnits() = default;
  zynUnits(zynUnitsStandard code) : m_code(code) {}  // NOLINT: codes convert implicitly

  zynUnitsStandard code() const { return m_code; }
  bool operator==(const zynUnits& o) const { return m_code == o.m_code; }
  bool operator!=(const zynUnits& o) const { return m_code != o.m_code; }

  // Returns time for codes 1..4, invalid dimensions otherwise.
  zynDimensions get_dimensions() const;
  // Returns "v", given in "from", in this unit. Sets "failed" (and returns "v"
  // unchanged) when either unit is none or their dimensions differ.
  double convert_value_from(double v, zynUnits from, bool& failed) const;
  bool can_convert_from(zynUnits from) const;

 private:
  zynUnitsStandard m_code = ZYN_UNITS_NONE;
};
