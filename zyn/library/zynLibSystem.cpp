// Built-ins of the system, time, file and sequence group: make_sequence,
// next_in_sequence, home, time, local_time, utc_time, time_to_string, pwd,
// list_files, file_exists, dir_exists, port_machining.
// Their routines plug into the registry through zyn_lib_system_routines(): a
// constant table with one row per name ({"name", &routine}); a registered
// name without a row answers "Unknown error" when called.
#include "zyn/library/zynLibrary_internal.h"

zynLibRoutineTable zyn_lib_system_routines() { return zynLibRoutineTable{nullptr, 0}; }
