// Hooks through which the base class reaches kinds defined above it in the
// layering: containers for path names, numerics and strings for results.
#pragma once

#include "zyn/core/zynParameter.h"

// Returns 1 for a root (subtype PS_ROOT).
inline int zyn_is_root(const zynParameter& p) { return zynParameter::get_subtype(p) == PS_ROOT; }

// Returns the root type of a root: roots keep it as their type name.
inline utString zyn_root_type(const zynParameter& p) { return p.get_typename(); }

// Returns 1 for a map or an array of any kind.
inline int zyn_is_container(const zynParameter& p) {
  zynParameterType t = zynParameter::get_type(p);
  return t == PT_MAP || t == PT_ARRAY;
}

// Returns the key text under which "container" holds "child" ("" when it
// does not), and whether it is a member name rather than an index.
utString zyn_child_key_text(const zynParameter& container, const zynParameter& child, bool& is_name_key);

// Returns a new boolean numeric of "value" (0 or 1).
zynParameterPtr zyn_create_bool(int value);

// Returns a new string parameter holding "text".
zynParameterPtr zyn_create_string(const utString& text);
