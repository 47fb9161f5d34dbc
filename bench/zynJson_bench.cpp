// The tree of BM_Save as a JSON document of string leaves (each leaf the
// text the serializer writes for it), parsed and dumped by nlohmann::json.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include "zynBenchTree.h"

namespace {

nlohmann::json as_json(const zynParameter& p) {
  const auto* map = zynParameterMap::ut_dynamic_cast(&p);
  if (!map) return p.get_expr();
  nlohmann::json object = nlohmann::json::object();
  for (const zynParameterMapMember& member : map->members()) object[member.name] = as_json(*member.value);
  return object;
}

const nlohmann::json& tree_json() {
  static const nlohmann::json json = [] {
    zynBenchRoot root;
    zyn_bench_build_tree(root);
    return as_json(root);
  }();
  return json;
}

void BM_NlohmannParse(benchmark::State& state) {
  const std::string text = tree_json().dump(1, '\t');
  for (auto _ : state) {
    nlohmann::json json = nlohmann::json::parse(text);
    benchmark::DoNotOptimize(json.size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.SetItemsProcessed(state.iterations() * zyn_bench_tree_leaves);
}

void BM_NlohmannDump(benchmark::State& state) {
  const nlohmann::json& json = tree_json();
  size_t bytes = 0;
  for (auto _ : state) {
    std::string text = json.dump(1, '\t');
    bytes += text.size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.SetItemsProcessed(state.iterations() * zyn_bench_tree_leaves);
}

}  // namespace

BENCHMARK(BM_NlohmannParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NlohmannDump)->Unit(benchmark::kMillisecond);
