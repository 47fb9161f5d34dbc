// Builds a small tree of parameters and prints it.
#include <iostream>

#include "zyn/zyn.h"

int main() {
  zynParameterPtr err = zynParameterError::create(PS_ERR_DIVIDE_BY_ZERO);
  std::cout << err->print(0);
  return 0;
}
