// Bytes of heap per numeric parameter in a tree of 1,000,000 reals (1000
// maps of 1000), as the counter "bytes_per_numeric". The benchmark runs
// once; its time is the time to build the tree.
// BM_KeyCacheHeap parses 400,000 distinct one-off keys and reports the heap
// the key parser's cache keeps afterwards ("key_cache_bytes"): it stays
// within its two generations of about 2 MB each, however many keys pass.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "zynBenchTree.h"

namespace {

size_t heap_in_use() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

void BM_MemoryPerNumeric(benchmark::State& state) {
  const int maps = 1000;
  const int per_map = 1000;
  for (auto _ : state) {
    size_t before = heap_in_use();
    {
      zynBenchRoot root;
      for (int m = 0; m < maps; ++m) {
        zynParameterPtr map = root.add(zynParameterKey("m" + std::to_string(m)), zynParameterPtr(new zynParameterMap()));
        for (int i = 0; i < per_map; ++i) {
          zynParameterPtr p(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_LENGTH), m + i * 0.5));
          map->add(zynParameterKey("p" + std::to_string(i)), p);
        }
      }
      size_t after = heap_in_use();
      state.counters["bytes_per_numeric"] = static_cast<double>(after - before) / (maps * per_map);
    }
  }
}

void BM_KeyCacheHeap(benchmark::State& state) {
  for (auto _ : state) {
    const size_t before = heap_in_use();
    for (int i = 0; i < state.range(0); ++i) benchmark::DoNotOptimize(zynParameterKey("k" + std::to_string(i)).type());
    state.counters["key_cache_bytes"] = static_cast<double>(heap_in_use() - before);
  }
}

}  // namespace

BENCHMARK(BM_KeyCacheHeap)->Arg(400000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryPerNumeric)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
