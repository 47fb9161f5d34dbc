// Plumbing shared by the sources of the function library: the tables of
// built-ins that the registry registers, and the bound on nested calls.
//
// Each group source (zynLibMath.cpp, zynLibConversion.cpp, zynLibVector.cpp,
// zynLibString.cpp, zynLibList.cpp, zynLibHigherOrder.cpp, zynLibSystem.cpp)
// defines its zyn_lib_*_builtins() table, one row per built-in:
//   {"round", &round_routine, 0, "Round value to the specified number of decimal places."},
// The registry takes the groups in that order, the rows of each in theirs.
#pragma once

#include "zyn/expr/zynEvaluator.h"
#include "zyn/library/zynLibraryRegistry.h"

// Flags of a built-in row. Without zyn_lib_at_load a built-in waits for the
// first library object; a zyn_lib_impure one is never memoised.
enum : unsigned {
  zyn_lib_at_load = 1,  // registered when the library is loaded
  zyn_lib_impure = 2,   // changes its arguments or the program, or reads the clock, files or host
};

// One built-in: its name, routine, flags and description exactly as shown to
// users. Every part must be given, so no name goes without its routine.
struct zynLibBuiltin {
  constexpr zynLibBuiltin(const char* n, zynParameterLibRoutine r, unsigned f, const char* d)
      : name(n), routine(r), flags(f), description(d) {}
  const char* name;
  zynParameterLibRoutine routine;
  unsigned flags;
  const char* description;
};

// A group's table: "count" rows from "rows".
struct zynLibBuiltinTable {
  const zynLibBuiltin* rows;
  int count;
};

// Builds a table over a constant array of rows.
template <int N>
constexpr zynLibBuiltinTable zyn_lib_table(const zynLibBuiltin (&rows)[N]) {
  return zynLibBuiltinTable{rows, N};
}

// The tables of the groups. They are constant data and may be read during
// static initialisation, when the registry registers the load-time names.
zynLibBuiltinTable zyn_lib_math_builtins();
zynLibBuiltinTable zyn_lib_conversion_builtins();
zynLibBuiltinTable zyn_lib_vector_builtins();
zynLibBuiltinTable zyn_lib_string_builtins();
zynLibBuiltinTable zyn_lib_list_builtins();
zynLibBuiltinTable zyn_lib_higher_order_builtins();
zynLibBuiltinTable zyn_lib_system_builtins();

// Returns the number of elements "p" stands for: 1 for a scalar, 1 plus those
// of its elements for an array or map, counted down to "limit" at most.
long long zyn_lib_element_count(const zynParameterPtr& p, long long limit);

// Counts one level of nested call for as long as it lives. A call also
// weighs in the evaluation nesting budget of zynEvalDepth, since its frames
// sit between the evaluations it nests. ok() is false when either bound is
// reached; the caller then answers an error instead of running the body.
class zynLibCallDepth {
 public:
  zynLibCallDepth();
  ~zynLibCallDepth();
  zynLibCallDepth(const zynLibCallDepth&) = delete;
  zynLibCallDepth& operator=(const zynLibCallDepth&) = delete;
  bool ok() const { return m_ok && !m_eval.exceeded(); }

 private:
  zynEvalDepth m_eval;
  bool m_ok;
};
