// Tests shared by maps, roots and the tree walk.
#pragma once

#include <vector>

#include "zyn/core/zynParameter.h"

// Returns 1 when a lookup result stands for "not found": an error value that
// is not a reference (a reference without target reports type PT_ERROR too,
// but it is a member all the same).
inline int zyn_is_lookup_failure(const zynParameter& p) {
  return zynParameter::get_type(p) == PT_ERROR && !p.is_ref();
}

// Returns 1 for a reference marked not to be followed by walks and printing.
int zyn_is_nofollow_ref(const zynParameter& p);

// Returns 1 while a function body runs: its lookups find functions only.
int zyn_lookup_functions_only();

// Returns 1 when "p" is a function parameter (0 for null).
int zyn_is_function(const zynParameter* p);

// Returns a new list of strings holding "texts" in order.
zynParameterPtr zyn_create_string_list(const std::vector<utString>& texts);
