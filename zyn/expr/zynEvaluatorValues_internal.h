// The values the evaluator makes itself: number literals, and the test
// that tells whether a string literal needs interpolating.
#pragma once

#include <vector>

#include "zyn/core/zynParameterPtr.h"
#include "zyn/host/utString.h"

// Parses the number token "text", whose decimal point may be '.' or ','.
// Returns false unless the whole text is one number.
[[nodiscard]] bool zyn_expr_parse_number(const utString& text, double& value);

// Returns a new dimensionless NUMERIC holding "value".
zynParameterPtr zyn_expr_make_number(double value);

// Moves the items of "stack" from "base" on, in order, into a new temporary
// array and returns it; the stack is cut back to "base".
zynParameterPtr zyn_expr_make_array(std::vector<zynParameterPtr>& stack, size_t base);

// Returns true when "text" holds an interpolation form ("%[", "$").
bool zyn_expr_needs_interpolation(const utString& text);
