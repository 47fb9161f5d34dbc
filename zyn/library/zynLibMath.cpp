// Built-ins that compute with numbers.
// Their routines plug into the registry through zyn_lib_math_routines(): a
// constant table with one row per name ({"name", &routine}); a registered
// name without a row answers "Unknown error" when called.
#include "zyn/library/zynLibrary_internal.h"

zynLibRoutineTable zyn_lib_math_routines() { return zynLibRoutineTable{nullptr, 0}; }
