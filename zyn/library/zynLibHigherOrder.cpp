// Built-ins of the higher-order list group: extract, filter, apply, flatten,
// join, sort, reverse.
// Their routines plug into the registry through zyn_lib_higher_order_routines(): a
// constant table with one row per name ({"name", &routine}); a registered
// name without a row answers "Unknown error" when called.
#include "zyn/library/zynLibrary_internal.h"

zynLibRoutineTable zyn_lib_higher_order_routines() { return zynLibRoutineTable{nullptr, 0}; }
