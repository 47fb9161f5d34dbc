#include <gtest/gtest.h>

#include "support/zynTestHelpers.h"
#include "zyn/zyn.h"

namespace {

// Interpolates in a scope holding the NUMERIC a = 2, the REAL r = 1.5 and an
// empty scope m.
TEST(Interpolation, ReplacesEveryFormAndStopsAtTheFirstError) {
  zynParameterPtr scope(new zynParameterMap);
  scope->add("a", zyn_test_number(PS_NUMERIC, 2));
  scope->add("r", zyn_test_number(PS_REAL, 1.5));
  scope->add("m", zynParameterPtr(new zynParameterMap));
  zynEvaluator ev(scope.pointer());
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"a=%[a*3]", "a=6"},
      {"a=${a*3}", "a=6"},
      {"r=%[r*2]", "r=3.0"},
      {"cost $$5", "cost $5"},
      {"$$$a", "$2"},
      {"$$$$", "$$"},
      {"x[1] {y} $ 5 % [", "x[1] {y} $ 5 % ["},
      {"$a,b", "2,b"},
      {"$a+1 x", "3 x"},  // a name text that is more than a name is an expression
      {"$and", "[Syntax error]"},
      {"($a\n)", "(2\n)"},
      {"%[a * 3", "6"},  // a missing closer lets the expression run to the end
      {"%['<%[a]>']", "<2>"},
      {"%[1, 2]", "2"},
      {"before %[nothing] after %[a]", "before [Invalid name]"},
      {"v=$nothing!", "v=[Type error]"},  // "!" applies to the error first
      {"map ${m} here", "map [Type error]"},
      {"%[1/0]", "[Divide by zero]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ev.interpolate_string(c.text), c.expected);
  }
}

}  // namespace
