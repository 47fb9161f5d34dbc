// Saving, loading and exporting the generated tree of zynBenchTree.h
// (100000 leaves; loading also a tree of 1000000). Bytes processed are the saved text's, so MB/s shows;
// items are leaves, so ns per item compares with BM_Nlohmann*.
#include <benchmark/benchmark.h>

#include <sstream>

#include "zynBenchTree.h"

namespace {

std::string saved_text(const zynParameterRoot& root) {
  zynParameterSerializer serializer;
  std::ostringstream out;
  serializer.save(root, out);
  return out.str();
}

void BM_Save(benchmark::State& state) {
  zynBenchRoot root;
  zyn_bench_build_tree(root);
  zynParameterSerializer serializer;
  size_t bytes = 0;
  for (auto _ : state) {
    std::ostringstream out;
    if (serializer.save(root, out) != PSE_OK) state.SkipWithError("save failed");
    bytes += static_cast<size_t>(out.tellp());  // str() would time a copy of the text too
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.SetItemsProcessed(state.iterations() * zyn_bench_tree_leaves);
}

// Loads into a root that has the tree already, as a host loads a saved file
// into the tree it built. One untimed load first: the first load into a tree
// built from values settles each value's default and text once, and would
// weigh on few iterations (two at a million leaves) and on many unequally.
void BM_Load(benchmark::State& state) {
  const int leaves = static_cast<int>(state.range(0));
  const std::string text = [leaves] {
    zynBenchRoot source;
    zyn_bench_build_tree(source, leaves);
    return saved_text(source);
  }();
  zynBenchRoot target;
  zyn_bench_build_tree(target, leaves);
  zynParameterSerializer serializer;
  {
    std::istringstream in(text);
    if (serializer.load(target, in, 0) != PSE_OK) state.SkipWithError("load failed");
  }
  for (auto _ : state) {
    std::istringstream in(text);
    if (serializer.load(target, in, 0) != PSE_OK) state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.SetItemsProcessed(state.iterations() * leaves);
}

void BM_Xml(benchmark::State& state) {
  zynParameterPtr root(new zynBenchRoot());
  zyn_bench_build_tree(static_cast<zynParameterRoot&>(*root));
  size_t bytes = 0;
  for (auto _ : state) {
    utString xml = zynParameter::to_xml(root);
    bytes += xml.size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.SetItemsProcessed(state.iterations() * zyn_bench_tree_leaves);
}

}  // namespace

BENCHMARK(BM_Save)->Arg(zyn_bench_tree_leaves)->Unit(benchmark::kMillisecond);
// Ten times the tree should take at most about ten times as long.
BENCHMARK(BM_Load)->Arg(zyn_bench_tree_leaves)->Arg(10 * zyn_bench_tree_leaves)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Xml)->Arg(zyn_bench_tree_leaves)->Unit(benchmark::kMillisecond);
