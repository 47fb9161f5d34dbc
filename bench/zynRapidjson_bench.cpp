// The tree of BM_Save as a JSON document of string leaves (each leaf the
// text the serializer writes for it), parsed into a DOM and written by
// RapidJSON, tab-indented like the serializer's text.
#include <benchmark/benchmark.h>
#include <rapidjson/document.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <string>

#include "zynBenchTree.h"

namespace {

rapidjson::Value as_json(const zynParameter& p, rapidjson::Document::AllocatorType& allocator) {
  const auto* map = zynParameterMap::ut_dynamic_cast(&p);
  if (!map) return rapidjson::Value(p.get_expr().c_str(), allocator);
  rapidjson::Value object(rapidjson::kObjectType);
  for (const zynParameterMapMember& member : map->members())
    object.AddMember(rapidjson::Value(member.name.c_str(), allocator), as_json(*member.value, allocator), allocator);
  return object;
}

std::string written(const rapidjson::Document& json) {
  rapidjson::StringBuffer buffer;
  rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
  writer.SetIndent('\t', 1);
  json.Accept(writer);
  return std::string(buffer.GetString(), buffer.GetSize());
}

const rapidjson::Document& tree_json() {
  static const rapidjson::Document* const json = [] {
    auto* document = new rapidjson::Document();
    zynBenchRoot root;
    zyn_bench_build_tree(root);
    static_cast<rapidjson::Value&>(*document) = as_json(root, document->GetAllocator());
    return document;
  }();
  return *json;
}

void BM_RapidjsonParse(benchmark::State& state) {
  const std::string text = written(tree_json());
  for (auto _ : state) {
    rapidjson::Document json;
    json.Parse(text.c_str(), text.size());
    if (json.HasParseError()) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(json.MemberCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.SetItemsProcessed(state.iterations() * zyn_bench_tree_leaves);
}

void BM_RapidjsonWrite(benchmark::State& state) {
  const rapidjson::Document& json = tree_json();
  size_t bytes = 0;
  for (auto _ : state) {
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
    writer.SetIndent('\t', 1);
    json.Accept(writer);
    bytes += buffer.GetSize();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.SetItemsProcessed(state.iterations() * zyn_bench_tree_leaves);
}

}  // namespace

BENCHMARK(BM_RapidjsonParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RapidjsonWrite)->Unit(benchmark::kMillisecond);
