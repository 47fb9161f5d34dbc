// Simulated break presses for long operations. A test or a script registers
// "break at p percent of the progress named n"; the operation's progress
// reporting asks whether a break is due and then behaves as if the user had
// pressed break. The registered points live for the process until cleared.
#pragma once

#include "zyn/host/utString.h"

class ZYN_EXPORT zynProgressBreak {
 public:
  // Registers a simulated break press at "percentage" of the progress named
  // "name". Several points may be registered for one name.
  static void add_debug_break_point(utString name, double percentage);

  // Removes every registered point.
  static void clear_debug_break_points();

  // Returns non-zero when a point is registered for "name".
  static int has_debug_break_point(const utString& name);

  // Returns non-zero when the progress named "name", now at "percentage",
  // has reached a registered point (one at or below "percentage"). The point
  // is consumed, so each registered press breaks once.
  static int debug_break_due(const utString& name, double percentage);
};
