// The length unit system of the session: millimetre-based or inch-based, and
// the scale factors between the systems. Lengths are held internally in
// millimetres; the host chooses the system its users work in.
#pragma once

#include "zyn/zynExport.h"

// A length unit system. The numbers are fixed: stored defaults and unit
// suffixes refer to them.
enum zynUnitsType : int {
  zynUnitsMetric = 0,   // millimetres
  zynUnitsImperial = 1  // inches
};

class ZYN_EXPORT zynUnitsUtils {
 public:
  // Returns the current unit system; zynUnitsMetric until the host sets another.
  static zynUnitsType get_units();

  // Makes "units" (0 or 1) the current system. Returns non-zero on success;
  // any other value is refused and leaves the system unchanged.
  static int set_units(int units);

  // Returns the factor that converts a length written in system "from" into
  // the current system: 25.4 from inches while the system is metric.
  static double get_scale_from(zynUnitsType from);

  // Returns the factor that converts an internal length (millimetres) into
  // system "to": 1 for millimetres, 1 / 25.4 for inches.
  static double get_scale_to(zynUnitsType to);

  // Millimetres per inch.
  static constexpr double mm_per_inch = 25.4;
};
