// What the collection kinds need to know about the kinds they hold: scalars,
// maps, numerics, references and host entities. The element checks of
// vectors and lists go through these few functions.
#pragma once

#include "zyn/core/zynParameter.h"

// Returns 1 when the current unit system is the metric one.
int zyn_units_are_metric();

// Returns 1 when "p"'s reference id names an existing host entity.
int zyn_is_entity(const zynParameterPtr& p);

// Returns a new reference to the root "root" by its id and root type.
zynParameterPtr zyn_make_root_reference(const zynParameter& root);

// Returns 1 for a scalar (a numeric, string or enumeration, not a reference).
int zyn_is_scalar(const zynParameter& p);

// Returns 1 for a map whose set of members is not fixed.
int zyn_is_open_map(const zynParameter& p);

// Returns 1 when "p" is a numeric (of any numeric subtype, not a reference).
int zyn_is_numeric(const zynParameter& p);

// Returns a new numeric of the subtype and dimensions of the numeric "like", of value 0.
zynParameterPtr zyn_make_numeric_like(const zynParameter& like);
