// Plumbing shared by the sources of the function library: the routine tables
// through which each group of built-ins plugs its routines into the registry,
// and the bound on nested calls.
//
// Each group source (zynLibMath.cpp, zynLibConversion.cpp, zynLibVector.cpp,
// zynLibString.cpp, zynLibList.cpp, zynLibHigherOrder.cpp, zynLibSystem.cpp)
// defines its zyn_lib_*_routines() table, one row per name it implements:
//   { "round", &round_routine },
// The names and their descriptions are listed once, in zynLibraryRegistry.cpp;
// a registered name whose group has no row yet answers "Unknown error".
#pragma once

#include "zyn/expr/zynEvaluator.h"
#include "zyn/library/zynLibraryRegistry.h"

// One row of a group's routine table.
struct zynLibRoutineRow {
  const char* name;
  zynParameterLibRoutine routine;
};

// A group's routine table: "count" rows from "rows".
struct zynLibRoutineTable {
  const zynLibRoutineRow* rows;
  int count;
};

// Builds a table over a constant array of rows.
template <int N>
constexpr zynLibRoutineTable zyn_lib_table(const zynLibRoutineRow (&rows)[N]) {
  return zynLibRoutineTable{rows, N};
}

// The routine tables of the groups. They are constant data and may be read
// during static initialisation, before the registry registers the load-time names.
zynLibRoutineTable zyn_lib_math_routines();
zynLibRoutineTable zyn_lib_conversion_routines();
zynLibRoutineTable zyn_lib_vector_routines();
zynLibRoutineTable zyn_lib_string_routines();
zynLibRoutineTable zyn_lib_list_routines();
zynLibRoutineTable zyn_lib_higher_order_routines();
zynLibRoutineTable zyn_lib_system_routines();

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
