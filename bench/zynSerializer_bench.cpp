// Saving and loading a generated tree: a root of 100 maps, each of 10 maps,
// each of 100 parameters (reals, integers, strings, enumerations, lists and
// some expressions). The argument is the number of leaf parameters.
#include <benchmark/benchmark.h>

#include <sstream>

#include "zyn/zyn.h"

namespace {

zynParameterPtr make_leaf(int i) {
  switch (i % 6) {
    case 0: return zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_LENGTH), i * 0.25));
    case 1: return zynParameterPtr(new zynParameterNumeric(PS_INT, zynDimensions(ZYN_DIM_NONE), i));
    case 2: return zynParameterPtr(new zynParameterString("text " + std::to_string(i)));
    case 3: return zynParameterPtr(new zynParameterEnum("flat|ball|tipped", "ball"));
    case 4: {
      zynParameterPtr list(new zynParameterList(zynParameterPtr(new zynParameterString())));
      list->set_int(3);
      return list;
    }
    default: {
      zynParameterPtr expr(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_LENGTH), 0));
      expr->set_string("p0 * 2 + 1");
      return expr;
    }
  }
}

// Builds the tree with "leaves" parameters (rounded to whole inner maps).
void build_tree(zynParameterRoot& root, int leaves) {
  const int inner = std::max(1, leaves / 100);
  for (int outer = 0; outer * 10 < inner; ++outer) {
    zynParameterPtr group(new zynParameterMap());
    for (int m = 0; m < 10 && outer * 10 + m < inner; ++m) {
      zynParameterPtr block(new zynParameterMap());
      for (int i = 0; i < 100; ++i) block->add(zynParameterKey("p" + std::to_string(i)), make_leaf(i));
      group->add(zynParameterKey("m" + std::to_string(m)), block);
    }
    root.add(zynParameterKey("g" + std::to_string(outer)), group);
  }
}

void BM_Save(benchmark::State& state) {
  zynParameterRoot root("Bench", 1, "");
  build_tree(root, static_cast<int>(state.range(0)));
  zynParameterSerializer serializer;
  size_t bytes = 0;
  for (auto _ : state) {
    std::ostringstream out;
    if (serializer.save(root, out) != PSE_OK) state.SkipWithError("save failed");
    bytes += out.str().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Load(benchmark::State& state) {
  zynParameterRoot source("Bench", 1, "");
  build_tree(source, static_cast<int>(state.range(0)));
  zynParameterSerializer serializer;
  std::ostringstream out;
  serializer.save(source, out);
  const std::string text = out.str();
  zynParameterRoot target("Bench", 1, "");
  build_tree(target, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::istringstream in(text);
    if (serializer.load(target, in, 0) != PSE_OK) state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_Save)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(100000)->Unit(benchmark::kMillisecond);
