#include "support/zynTestScalar.h"

ZYN_DEFINE_TYPE(zynTestScalar, zynTestParameter)
