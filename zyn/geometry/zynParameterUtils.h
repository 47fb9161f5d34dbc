// zynParameterUtils gathers the static helpers that sit between the parameter
// tree and the outside world: tests that decide what the collections accept
// (entities and reserved workplane maps), and the conversions between
// parameters and geometry types with the mirroring of whole trees. Each group
// lives in its own source file; the class has no state.
#pragma once

#include "zyn/core/zynParameter.h"

class zynParameterUtils {
 public:
  zynParameterUtils() = delete;

  // --- Entity and restriction tests (zynParameterUtils.cpp) ---------------------
  // Returns 1 when "p"'s reference id names an existing host entity: the id
  // is valid and entity('HEX') evaluated in "p"'s scope gives no error. The
  // host supplies "entity", as a function parameter in the tree or a
  // pseudo-member of a derived root; where none is reachable the answer is 0.
  static int is_entity(zynParameterPtr p);

  // Returns 1 when "p" is named exactly "tessaform", "local" or "project":
  // the reserved workplane maps, which may not be put into lists.
  static int is_restricted_parameter(zynParameterPtr p);
};
