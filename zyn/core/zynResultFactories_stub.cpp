// Until strings exist, string results are type errors.
#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameter_internal.h"

zynParameterPtr zyn_create_string(const utString&) { return zynParameterError::create(PS_ERR_TYPE); }
