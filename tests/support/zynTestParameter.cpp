#include "support/zynTestParameter.h"

ZYN_DEFINE_TYPE(zynTestParameter, zynParameter)
