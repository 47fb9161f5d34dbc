// Built-ins of the vector and geometry group: unit, angle, apparent_angle,
// normal, parallel, set_vector, azimuth, elevation, set_point, distance.
// Their routines plug into the registry through zyn_lib_vector_routines(): a
// constant table with one row per name ({"name", &routine}); a registered
// name without a row answers "Unknown error" when called.
#include "zyn/library/zynLibrary_internal.h"

zynLibRoutineTable zyn_lib_vector_routines() { return zynLibRoutineTable{nullptr, 0}; }
