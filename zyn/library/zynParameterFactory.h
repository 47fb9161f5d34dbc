// Factories for the parameter kinds a host builds trees from, so that a tree
// is written without "new": each returns a new parameter held by its only
// owner, ready to be added to a map, a root or a list.
//
// Example:
//   zynParameterRoot op("Drilling", 1, "Hole pattern A");
//   op.add("Diameter", zyn_real(8.0, ZYN_DIM_LENGTH));
//   op.add("Depth", zyn_real(0.0, ZYN_DIM_LENGTH))->set_string("Diameter * 2.5");
//   op.add("Shape", zyn_enum("flat|ball|tipped", "ball"));
//   op.add("Passes", zyn_list(zyn_real(0.0, ZYN_DIM_LENGTH)));
#pragma once

#include "zyn/core/zynParameterPtr.h"
#include "zyn/host/utString.h"
#include "zyn/values/zynDimensions.h"

// Numbers. Each holds "value" as its literal text (which is also its default
// text), has no units and no range; zynParameterNumeric has the setters.
// Returns a real of dimensions "dims" (dimensionless unless given).
ZYN_EXPORT zynParameterPtr zyn_real(double value, zynDimStandard dims = ZYN_DIM_NONE);
ZYN_EXPORT zynParameterPtr zyn_real(double value, const zynDimensions& dims);
// Returns a dimensionless integer.
ZYN_EXPORT zynParameterPtr zyn_integer(int value);
// Returns a boolean (1 for true, 0 for false).
ZYN_EXPORT zynParameterPtr zyn_boolean(bool value);
// Returns a dimensionless angle.
ZYN_EXPORT zynParameterPtr zyn_angle(double value);

// Returns a string holding "text" (a literal, or a text with embedded
// expressions such as "%[Diameter]").
ZYN_EXPORT zynParameterPtr zyn_string(const utString& text = utString());
// Returns an enumeration with one state per "|"-separated name of "states",
// set to "value" (the first state when "value" is empty).
ZYN_EXPORT zynParameterPtr zyn_enum(const utString& states, const utString& value = utString());

// Returns an empty map. Members are added with add(name, parameter).
ZYN_EXPORT zynParameterPtr zyn_map();
// Returns an empty list whose elements are made from, and checked against,
// a copy of "element_type" (zynParameterList).
ZYN_EXPORT zynParameterPtr zyn_list(const zynParameterPtr& element_type);
// Returns a reference to the parameter at "path", resolved from where the
// reference is placed on every use (zynParameterRef).
ZYN_EXPORT zynParameterPtr zyn_ref(const utString& path);
// Returns a function whose body is "body"; a call f(a, b) sees its arguments
// as argv[0] and argv[1] (zynParameterFunction).
ZYN_EXPORT zynParameterPtr zyn_function(const utString& body);
