// A program that only knows the public header and the CMake target.
#include <iostream>

#include "zyn/zyn.h"

int main() {
  zynParameterPtr err = zynParameterError::create(PS_ERR_TYPE);
  if (!err->is_error()) return 1;
  std::cout << "ok\n";
  return 0;
}
