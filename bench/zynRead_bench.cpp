// Reading values as a host does on every screen refresh: a literal, an
// expression over siblings, and a value reached by a key path, against the
// floor of a virtual call on a heap object.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <unordered_map>

#include "zynBenchTree.h"

namespace {

void BM_VirtualRead(benchmark::State& state) {
  std::unique_ptr<zynBenchValue> value = zyn_bench_make_value(2.5);
  const zynBenchValue* p = value.get();
  for (auto _ : state) {
    double v = p->get();
    benchmark::DoNotOptimize(v);
  }
}

void BM_LiteralRead(benchmark::State& state) {
  zynBenchRoot root;
  zynParameterPtr p = zyn_bench_add_real(root, "depth", 2.5);
  p->get_double();  // warm the cache
  for (auto _ : state) {
    double v = p->get_double();
    benchmark::DoNotOptimize(v);
  }
}

void BM_ExpressionRead(benchmark::State& state, int index) {
  zynBenchRoot root;
  for (const zynBenchVariable& v : zyn_bench_variables) zyn_bench_add_real(root, v.name, v.value);
  zynParameterPtr p = zyn_bench_add_real(root, "e", 0.0);
  p->set_string(zyn_bench_expression(index));
  if (!p->is_valid()) state.SkipWithError("the expression does not evaluate");
  for (auto _ : state) {
    double v = p->get_double();
    benchmark::DoNotOptimize(v);
  }
}

// As BM_ExpressionRead, but each iteration first sets the first variable the
// expression reads, to two values in turn: what a read costs after a change.
void BM_ExpressionReadChanged(benchmark::State& state, int index) {
  zynBenchRoot root;
  zynParameterPtr first;
  const utString text = zyn_bench_expression(index);
  for (const zynBenchVariable& v : zyn_bench_variables) {
    zynParameterPtr p = zyn_bench_add_real(root, v.name, v.value);
    if (first.is_null() && text.find(v.name) != utString::npos) first = p;
  }
  zynParameterPtr p = zyn_bench_add_real(root, "e", 0.0);
  p->set_string(text);
  if (!p->is_valid()) state.SkipWithError("the expression does not evaluate");
  const double values[2] = {first->get_double(), first->get_double() + 0.5};
  int turn = 0;
  for (auto _ : state) {
    first->set_double(values[turn]);
    turn ^= 1;
    double v = p->get_double();
    benchmark::DoNotOptimize(v);
  }
}

// A root and its map "m" of "members" members each; "m.k" is a list of
// maps with a member "v". Reads root["m.k[3].v"].
void BM_KeyLookup(benchmark::State& state) {
  const int members = static_cast<int>(state.range(0));
  zynBenchRoot root;
  zynParameterPtr m = root.add(zynParameterKey("m"), zynParameterPtr(new zynParameterMap()));
  zynParameterPtr element(new zynParameterMap());
  zyn_bench_add_real(*element, "v", 1.5);
  zynParameterPtr list = m->add(zynParameterKey("k"), zynParameterPtr(new zynParameterList(element)));
  list->set_int(5);
  for (int i = 2; i <= members; ++i) {
    zyn_bench_add_real(root, "r" + std::to_string(i), i);
    zyn_bench_add_real(*m, "q" + std::to_string(i), i);
  }
  if (root["m.k[3].v"]->get_double() != 1.5) state.SkipWithError("m.k[3].v not found");
  for (auto _ : state) {
    zynParameterPtr v = root["m.k[3].v"];
    benchmark::DoNotOptimize(v.pointer());
  }
}

// The yardstick of BM_KeyLookup: the same tree as nested hash maps of
// named nodes (an index is a name too), and a lookup that splits the path
// text at "." and "[" each time, as a hand-written host lookup would.
struct StdNode {
  double value = 0.0;
  std::unordered_map<std::string, std::unique_ptr<StdNode>> members;
  StdNode& add(const std::string& name) { return *(members[name] = std::make_unique<StdNode>()); }
};

const StdNode* std_lookup(const StdNode& root, const std::string& path) {
  const StdNode* node = &root;
  size_t at = 0;
  while (node && at < path.size()) {
    const size_t end = path.find_first_of(".[]", at);
    const std::string part = path.substr(at, end == std::string::npos ? std::string::npos : end - at);
    at = end == std::string::npos ? path.size() : end + 1;
    if (part.empty()) continue;
    auto found = node->members.find(part);
    node = found == node->members.end() ? nullptr : found->second.get();
  }
  return node;
}

void BM_StdMapPath(benchmark::State& state) {
  StdNode root;
  StdNode& m = root.add("m");
  StdNode& k = m.add("k");
  for (int i = 0; i < 5; ++i) k.add(std::to_string(i)).add("v").value = 1.5;
  for (int i = 2; i <= 10; ++i) {
    root.add("r" + std::to_string(i)).value = i;
    m.add("q" + std::to_string(i)).value = i;
  }
  const std::string path = "m.k[3].v";
  if (!std_lookup(root, path) || std_lookup(root, path)->value != 1.5) state.SkipWithError("m.k[3].v not found");
  for (auto _ : state) {
    const StdNode* v = std_lookup(root, path);
    benchmark::DoNotOptimize(v);
  }
}

// a0 = 1; a_i = a_(i-1) + a_(i-1): every entry reads the one before twice.
// Each iteration changes a0 and reads the last entry, so the cost grows with
// the number of entries when each is evaluated once, and doubles with each
// entry when it is evaluated once per path.
void BM_DiamondRead(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  zynBenchRoot root;
  zynParameterPtr first = zyn_bench_add_real(root, "a0", 1.0);
  zynParameterPtr last = first;
  for (int i = 1; i <= entries; ++i) {
    const std::string before = "a" + std::to_string(i - 1);
    last = zyn_bench_add_real(root, "a" + std::to_string(i), 0.0);
    last->set_string(before + " + " + before);
  }
  double seed = 1.0;
  for (auto _ : state) {
    first->set_double(seed);
    double v = last->get_double();
    benchmark::DoNotOptimize(v);
    seed = seed == 1.0 ? 2.0 : 1.0;
  }
  first->set_double(1.0);
  if (last->get_double() != std::ldexp(1.0, entries)) state.SkipWithError("the last entry is not 2^entries");
}

}  // namespace

BENCHMARK(BM_VirtualRead);
BENCHMARK(BM_LiteralRead);
BENCHMARK_CAPTURE(BM_ExpressionRead, E1, 1);
BENCHMARK_CAPTURE(BM_ExpressionRead, E2, 2);
BENCHMARK_CAPTURE(BM_ExpressionRead, E3, 3);
BENCHMARK_CAPTURE(BM_ExpressionRead, E4, 4);
BENCHMARK_CAPTURE(BM_ExpressionRead, E5, 5);
BENCHMARK_CAPTURE(BM_ExpressionReadChanged, E1, 1);
BENCHMARK_CAPTURE(BM_ExpressionReadChanged, E2, 2);
BENCHMARK_CAPTURE(BM_ExpressionReadChanged, E3, 3);
BENCHMARK_CAPTURE(BM_ExpressionReadChanged, E4, 4);
BENCHMARK_CAPTURE(BM_ExpressionReadChanged, E5, 5);
BENCHMARK(BM_KeyLookup)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(BM_StdMapPath);
BENCHMARK(BM_DiamondRead)->Arg(10)->Arg(20);
