// The expressions of BM_ExpressionRead in muparser: parsing and evaluating
// on a reused parser, and evaluating the compiled expression.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <array>

#include "zynBenchTree.h"

namespace {

// A parser with the variables of zyn_bench_variables defined.
struct Parser {
  Parser() {
    for (size_t i = 0; i < values.size(); ++i) {
      values[i] = zyn_bench_variables[i].value;
      parser.DefineVar(zyn_bench_variables[i].name, &values[i]);
    }
  }
  mu::Parser parser;
  std::array<double, 7> values{};
};

void BM_MuparserParseEval(benchmark::State& state, int index) {
  Parser p;
  const mu::string_type text = zyn_bench_muparser_expression(index);
  try {
    for (auto _ : state) {
      p.parser.SetExpr(text);
      double v = p.parser.Eval();
      benchmark::DoNotOptimize(v);
    }
  } catch (const mu::Parser::exception_type& e) {
    state.SkipWithError(e.GetMsg().c_str());
  }
}

void BM_MuparserEval(benchmark::State& state, int index) {
  Parser p;
  try {
    p.parser.SetExpr(zyn_bench_muparser_expression(index));
    p.parser.Eval();
    for (auto _ : state) {
      double v = p.parser.Eval();
      benchmark::DoNotOptimize(v);
    }
  } catch (const mu::Parser::exception_type& e) {
    state.SkipWithError(e.GetMsg().c_str());
  }
}

}  // namespace

BENCHMARK_CAPTURE(BM_MuparserParseEval, E1, 1);
BENCHMARK_CAPTURE(BM_MuparserParseEval, E2, 2);
BENCHMARK_CAPTURE(BM_MuparserParseEval, E3, 3);
BENCHMARK_CAPTURE(BM_MuparserParseEval, E4, 4);
BENCHMARK_CAPTURE(BM_MuparserParseEval, E5, 5);
BENCHMARK_CAPTURE(BM_MuparserEval, E1, 1);
BENCHMARK_CAPTURE(BM_MuparserEval, E2, 2);
BENCHMARK_CAPTURE(BM_MuparserEval, E3, 3);
BENCHMARK_CAPTURE(BM_MuparserEval, E4, 4);
BENCHMARK_CAPTURE(BM_MuparserEval, E5, 5);
