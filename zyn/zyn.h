// zynparam: the whole public interface.
#pragma once

// Host services
#include "zyn/host/utString.h"
#include "zyn/host/utTypeID.h"
#include "zyn/host/zynContainers.h"
#include "zyn/host/zynNls.h"
#include "zyn/host/zynUniqueId.h"

// Parameter core
#include "zyn/core/zynParameter.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterKey.h"
#include "zyn/core/zynParameterNotify.h"
#include "zyn/core/zynParameterPtr.h"
#include "zyn/core/zynParameterTypes.h"
#include "zyn/core/zynParameterUpdateTrack.h"
#include "zyn/core/zynParameterWatch.h"

// Expression language
#include "zyn/expr/zynEvaluator.h"
