// Trees and expressions shared by the benchmarks.
#pragma once

#include <memory>
#include <string>

#include "zyn/zyn.h"

// The root the benchmarks read from: a host root of type "Host" whose
// expressions reach the built-ins.
class zynBenchRoot : public zynParameterLibRoot {
 public:
  zynBenchRoot() : zynParameterLibRoot("Host", 1, "host") {}
};

// The five expressions read in the benchmarks, in our syntax and in
// muparser's (which spells the logical "and" "&&"); "index" is 1 to 5.
const char* zyn_bench_expression(int index);
const char* zyn_bench_muparser_expression(int index);

// The names the expressions use and their values.
struct zynBenchVariable {
  const char* name;
  double value;
};
extern const zynBenchVariable zyn_bench_variables[7];

// Adds a REAL member "name" holding "value" (as the text a host sets) to "map".
zynParameterPtr zyn_bench_add_real(zynParameter& map, const std::string& name, double value);

// The floor for reads: a double behind a virtual call on a heap object. The
// derived class lives in another translation unit, so the compiler cannot
// see through the call and fold the read away.
struct zynBenchValue {
  virtual ~zynBenchValue() = default;
  virtual double get() const = 0;
};
std::unique_ptr<zynBenchValue> zyn_bench_make_value(double v);

// The number of leaves zyn_bench_build_tree makes by default.
constexpr int zyn_bench_tree_leaves = 100 * 10 * 100;
// Fills "root" with the saved-tree shape: leaves / 1000 maps, each of 10
// maps, each of 100 parameters (reals, integers, strings, enumerations and,
// one in ten, an expression).
void zyn_bench_build_tree(zynParameterRoot& root, int leaves = zyn_bench_tree_leaves);
