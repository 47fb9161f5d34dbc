// The zynparam tool's loader on a flat untyped file: every entry is made
// from its text and formulas are told from plain strings, in time linear in
// the number of members.
#include <benchmark/benchmark.h>

#include <string>

#include "zynparamFile.h"

namespace {

// A flat untyped file of "n" members: numbers, formulas over earlier
// members and plain words, in turn.
std::string flat_untyped_file(int n) {
  std::string text = "{\"type\" : \"Flat\", \"version\" : \"1\"}\n{";
  for (int i = 0; i < n; ++i) {
    const std::string name = "m" + std::to_string(i);
    std::string value = std::to_string(i);
    if (i % 3 == 1) value = "m" + std::to_string(i - 1) + " * 2";
    if (i % 3 == 2) value = "word" + std::to_string(i);
    text += (i ? ",\n\t\"" : "\n\t\"") + name + "\" : \"" + value + "\"";
  }
  return text + "\n}";
}

void BM_ToolLoadUntyped(benchmark::State& state) {
  const std::string text = flat_untyped_file(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    zynToolFile file = zyn_tool_load_text(text, "flat");
    benchmark::DoNotOptimize(file.root);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_ToolLoadUntyped)->Arg(100000)->Unit(benchmark::kMillisecond);
