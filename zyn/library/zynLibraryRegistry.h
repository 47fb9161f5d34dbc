// The registry of built-in functions: one process-wide table from a lower-case
// function name to its routine and one-line description. zynParameterLib
// (zynParameterLib.h) is how expressions reach it. Seventeen names are
// registered when the library is loaded (the elementary math functions, the
// two progress-break functions and state_active); the first construction of a
// library object registers the other eighty-one. Entries are never removed.
#pragma once

#include <unordered_map>

#include "zyn/core/zynParameterPtr.h"
#include "zyn/host/utString.h"

// A built-in routine: receives the argument array of a call and returns the
// call's value, or an error value; it never throws.
using zynParameterLibRoutine = zynParameterPtr (*)(const zynParameterPtr& args);

// One registered name.
struct ZYN_EXPORT zynParameterLibEntry {
  zynParameterLibRoutine routine = nullptr;
  utString description;
  // The answer depends on the arguments and the tree alone and nothing is
  // changed: memoised evaluations may read it again. Entries added by a host
  // are never taken as pure.
  bool pure = false;
};

// Registered names, compared exactly (case-sensitively). Its iteration order
// is stable while no name is added, and every listing of the names follows it.
using utStringzynParameterLibEntrycoTable = std::unordered_map<utString, zynParameterLibEntry>;

// Returns the process-wide registry, created on first use and kept until unload.
ZYN_EXPORT const utStringzynParameterLibEntrycoTable& zyn_lib_registry();

// Sets the entry of "name" (replacing an earlier one) and returns the number
// of entries afterwards.
ZYN_EXPORT int zyn_lib_add_entry(const utString& name, zynParameterLibRoutine routine, const utString& description);

// Returns the entry registered under exactly "name", or null.
ZYN_EXPORT const zynParameterLibEntry* zyn_lib_find_entry(const utString& name);

// Registers the eighty-one names that wait for the first library object.
// Runs once; later calls do nothing.
ZYN_EXPORT void zyn_lib_register_first_library();
