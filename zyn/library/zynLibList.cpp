// Built-ins of the list and set group: add_first, add_last, remove_first,
// remove_last, remove, remove_duplicates, is_empty, member, set_union,
// subtract, intersection, fill.
// Their routines plug into the registry through zyn_lib_list_routines(): a
// constant table with one row per name ({"name", &routine}); a registered
// name without a row answers "Unknown error" when called.
#include "zyn/library/zynLibrary_internal.h"

zynLibRoutineTable zyn_lib_list_routines() { return zynLibRoutineTable{nullptr, 0}; }
