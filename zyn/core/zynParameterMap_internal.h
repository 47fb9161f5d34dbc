// Tests shared by maps, roots and the tree walk that concern kinds defined
// elsewhere (references, functions, the evaluator's lookup mode).
#pragma once

#include "zyn/core/zynParameter.h"

// Returns 1 when a lookup result stands for "not found": an error value that
// is not a reference (a reference without target reports type PT_ERROR too,
// but it is a member all the same).
inline int zyn_is_lookup_failure(const zynParameter& p) {
  return zynParameter::get_type(p) == PT_ERROR && !p.is_ref();
}

// Returns 1 for a reference marked not to be followed by walks and printing.
int zyn_is_nofollow_ref(const zynParameter& p);

// Returns 1 while the evaluator resolves a name that must denote a function,
// so that map lookups accept function parameters only.
int zyn_functions_only();

// Returns a new list of string parameters holding "texts" in order, the
// answer of a map to the key "_keys".
zynParameterPtr zyn_create_name_list(const utStringcoDList& texts);
