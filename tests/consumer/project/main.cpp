// A program that only knows the public header and the CMake target: it
// builds a tiny tree, evaluates an expression and reads an error value, and
// runs with the library version it was compiled against.
#include <cstring>
#include <iostream>

#include "zyn/zyn.h"

int main() {
  zynParameterRoot root("Check", 1, "");
  root.add("a", zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_NONE), 2.0)));
  zynParameterPtr b = root.add("b", zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_NONE), 0.0)));
  b->set_string("a * 3");
  if (root["B"]->get_double() != 6.0) return 1;
  if (!root["missing"]->is_error()) return 1;
  if (std::strcmp(zyn_version(), ZYN_VERSION_STRING) != 0) return 1;
  std::cout << "ok\n";
  return 0;
}
