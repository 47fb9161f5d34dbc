// zynparam: the whole public interface.
#pragma once

#include "zyn/zynVersion.h"

// Host services
#include "zyn/host/utMath.h"
#include "zyn/host/utString.h"
#include "zyn/host/utTypeID.h"
#include "zyn/host/zynAppString.h"
#include "zyn/host/zynArchive.h"
#include "zyn/host/zynCallList.h"
#include "zyn/host/zynCharTypes.h"
#include "zyn/host/zynContainers.h"
#include "zyn/host/zynFileDir.h"
#include "zyn/host/zynGeometry.h"
#include "zyn/host/zynNls.h"
#include "zyn/host/zynNumberText.h"
#include "zyn/host/zynProgressBreak.h"
#include "zyn/host/zynRange.h"
#include "zyn/host/zynText.h"
#include "zyn/host/zynTolerance.h"
#include "zyn/host/zynUniqueId.h"
#include "zyn/host/zynUnitsUtils.h"
#include "zyn/host/zynUtf8.h"

// Parameter core
#include "zyn/core/zynParameter.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterIter.h"
#include "zyn/core/zynParameterKey.h"
#include "zyn/core/zynParameterLoader.h"
#include "zyn/core/zynParameterMap.h"
#include "zyn/core/zynParameterNotify.h"
#include "zyn/core/zynParameterProxy.h"
#include "zyn/core/zynParameterPtr.h"
#include "zyn/core/zynParameterRoot.h"
#include "zyn/core/zynParameterTypes.h"
#include "zyn/core/zynParameterUpdateTrack.h"
#include "zyn/core/zynParameterUpdater.h"
#include "zyn/core/zynParameterWatch.h"
#include "zyn/core/zynQueryParameter.h"

// Scalar values and units
#include "zyn/values/zynDimensions.h"
#include "zyn/values/zynParameterEnum.h"
#include "zyn/values/zynParameterNumeric.h"
#include "zyn/values/zynParameterScalar.h"
#include "zyn/values/zynParameterString.h"
#include "zyn/values/zynUnits.h"

// Expression language
#include "zyn/expr/zynEvaluator.h"

// Collections, references and data
#include "zyn/collections/zynParameterArray.h"
#include "zyn/collections/zynParameterData.h"
#include "zyn/collections/zynParameterList.h"
#include "zyn/collections/zynParameterReading.h"
#include "zyn/collections/zynParameterRef.h"
#include "zyn/collections/zynParameterSharedList.h"
#include "zyn/collections/zynParameterTempArray.h"
#include "zyn/collections/zynParameterVector.h"

// Function library
#include "zyn/library/zynEvalFunction.h"
#include "zyn/library/zynLibraryRegistry.h"
#include "zyn/library/zynParameterArgDecoder.h"
#include "zyn/library/zynParameterDictArgs.h"
#include "zyn/library/zynParameterFactory.h"
#include "zyn/library/zynParameterFunction.h"
#include "zyn/library/zynParameterLib.h"
#include "zyn/library/zynParameterLibRoot.h"
#include "zyn/library/zynParameterMemberFunction.h"
#include "zyn/library/zynParameterNameSanitizer.h"

// Geometry utilities
#include "zyn/geometry/zynParameterUtils.h"

// Persistence and export
#include "zyn/io/zynParameterOpenRoot.h"
#include "zyn/io/zynParameterSerializer.h"
#include "zyn/io/zynParameterXml.h"
