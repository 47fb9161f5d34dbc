// Until numerics and strings exist, results of those kinds are type errors.
#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameter_internal.h"

zynParameterPtr zyn_create_bool(int) { return zynParameterError::create(PS_ERR_TYPE); }
zynParameterPtr zyn_create_string(const utString&) { return zynParameterError::create(PS_ERR_TYPE); }
