#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/zynTestHelpers.h"
#include "support/zynTestLibTree.h"
#include "zyn/zyn.h"

namespace {

zynParameterPtr number(double v) { return zyn_test_number(PS_NUMERIC, v); }

zynParameterPtr formula(const utString& text) {
  zynParameterPtr p = number(0);
  p->set_string(text);
  return p;
}

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// Answers the number of arguments it was given.
zynParameterPtr count_arguments(const zynParameter&, const zynParameterPtr& args) { return number(args->size()); }

// A scope holding a = 2, b = 3, f (a function counting its arguments) and
// s.t.u = 7.
class Evaluator : public ::testing::Test {
 protected:
  Evaluator() : m_scope(new zynParameterMap), scope(static_cast<zynParameterMap&>(*m_scope)) {
    scope.add("a", number(2));
    scope.add("b", number(3));
    scope.add("f", zynParameterPtr(new zynParameterMemberFunction(count_arguments)));
    zynParameterPtr s(new zynParameterMap), t(new zynParameterMap);
    scope.add("s", s);
    s->add("t", t);
    t->add("u", number(7));
  }

  zynParameterPtr eval(const utString& text) { return ev.evaluate(text); }
  zynParameterPtr member(const char* name) { return m_scope[zynParameterKey(name)]; }

  zynParameterPtr m_scope;
  zynParameterMap& scope;
  zynEvaluator ev{m_scope.pointer()};
};

struct Case {
  const char* text;
  int subtype;   // expected subtype: a numeric one, or an error code
  double value;  // expected value of a numeric
};

TEST_F(Evaluator, AppliesPrecedenceAndAssociativity) {
  const Case cases[] = {
      {"1 + 2 * 3", PS_NUMERIC, 7},   {"(1 + 2) * 3", PS_NUMERIC, 9}, {"2^3^2", PS_NUMERIC, 64},
      {"-2^2", PS_NUMERIC, 4},        {"-a^2", PS_NUMERIC, 4},        {"2 * -3", PS_NUMERIC, -6},
      {"--2", PS_NUMERIC, 2},         {"10 - 4 - 3", PS_NUMERIC, 3},  {"8 / 2 / 2", PS_NUMERIC, 2},
      {"7 % 4 * 2", PS_NUMERIC, 6},   {"1 < 2 == 1", PS_BOOL, 1},     {"3 > 2 > 0", PS_BOOL, 1},
      {"!0", PS_NUMERIC, 1},          {"!a + 1", PS_NUMERIC, 1},      {"a + b * a", PS_NUMERIC, 8},
      {"1, 2", PS_NUMERIC, 2},        {"1 == 1 & 2 > 1", PS_BOOL, 1}, {"0 | 1 & 0", PS_BOOL, 0},
      {"1 xor 1 | 1", PS_BOOL, 1},    {"a EQ 2 AND NOT 0", PS_BOOL, 1}, {"2 mm * 3", PS_NUMERIC, 6},
      {"s.t.u * 2", PS_NUMERIC, 14},  {"this.a + THIS.b", PS_NUMERIC, 5}, {"  7  ", PS_NUMERIC, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    zynParameterPtr v = eval(c.text);
    EXPECT_EQ(subtype_of(v), c.subtype);
    EXPECT_DOUBLE_EQ(v->get_double(), c.value);
  }
}

TEST_F(Evaluator, ReportsErrorsByWhereTheyStopTheParse) {
  const Case cases[] = {
      {"1/0", PS_ERR_DIVIDE_BY_ZERO, 0},  // at the very end: its own code
      {"1/0 + 5", PS_ERR_REFERENCE, 0},   // before the end
      {"(1 + 2", PS_ERR_REFERENCE, 0},    // the open group stands for its last element
      {"x + 1", PS_ERR_TYPE, 0},          // the error operand answers "+" itself
      {"(1/0)", PS_ERR_DIVIDE_BY_ZERO, 0}, {"f(1/0)", PS_ERR_DIVIDE_BY_ZERO, 0}, {"a[1/0]", PS_ERR_DIVIDE_BY_ZERO, 0},
      {"1 2", PS_ERR_SYNTAX, 0},    {"{1, 2", PS_ERR_SYNTAX, 0},  {"1 +", PS_ERR_SYNTAX, 0},   {"(1))", PS_ERR_SYNTAX, 0},
      {"1]", PS_ERR_SYNTAX, 0},     {"a[0", PS_ERR_SYNTAX, 0},    {"1 # 2", PS_ERR_SYNTAX, 0}, {"1 = 1", PS_ERR_SYNTAX, 0},
      {"'open", PS_ERR_SYNTAX, 0},  {"", PS_ERR_SYNTAX, 0},       {"f(1 +)", PS_ERR_SYNTAX, 0}, {"5 !", PS_ERR_SYNTAX, 0},
      {"1 + x", PS_ERR_NAME, 0},    {"s.t.v", PS_ERR_NAME, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(subtype_of(eval(c.text)), c.subtype);
  }
}

TEST_F(Evaluator, BoundsNestingInOneText) {
  EXPECT_EQ(eval(repeat("(", 500) + "1" + repeat(")", 500))->get_double(), 1.0);
  EXPECT_EQ(subtype_of(eval(repeat("(", 100000) + "1" + repeat(")", 100000))), PS_ERR_REFERENCE);
  EXPECT_EQ(subtype_of(eval("0 & " + repeat("(", 100000))), PS_ERR_REFERENCE);
  EXPECT_EQ(zynEvalDepth::level(), 0);
  // Long flat texts do not nest.
  EXPECT_EQ(eval("1" + repeat(" + 1", 100000))->get_double(), 100001.0);
}

TEST_F(Evaluator, EvaluatesEachParameterOnceAsItWouldAlone) {
  // d_i = d_(i-1) + d_(i-1) reads d0 by 2^40 paths; each is evaluated once.
  scope.add("d0", number(1));
  for (int i = 1; i <= 40; ++i) {
    const std::string before = "d" + std::to_string(i - 1);
    scope.add("d" + std::to_string(i), formula(before + " + " + before));
  }
  EXPECT_EQ(member("d40")->get_double(), std::ldexp(1.0, 40));
  member("d0")->set_double(2);  // the next read sees the change
  EXPECT_EQ(member("d40")->get_double(), std::ldexp(1.0, 41));
  // Texts doubling at every link stop at the text bound.
  scope.add("t0", zynParameterPtr(new zynParameterString("ab")));
  for (int i = 1; i <= 40; ++i) {
    const std::string before = "%[t" + std::to_string(i - 1) + "]";
    scope.add("t" + std::to_string(i), zynParameterPtr(new zynParameterString(before + before)));
  }
  EXPECT_LE(member("t40")->get_string().size(), zyn_max_text_size);
  // Across chains of formulas (deep links, so that it is short) and of
  // references past their nesting bounds, reads in one scope answer as each
  // read alone does, in either order, whether the scope warms chains or not.
  const int n = 400;
  std::vector<std::string> keys, alone;
  for (int i = 0; i < n; ++i) {
    const std::string e = "e" + std::to_string(i), r = "r" + std::to_string(i);
    scope.add(e, formula(i == 0 ? "1" : repeat("(", 9) + "e" + std::to_string(i - 1) + repeat(")", 9) + " + 1"));
    scope.add(r, i == 0 ? number(1) : zyn_ref("r" + std::to_string(i - 1)));
    keys.insert(keys.end(), {e, r});
  }
  for (const std::string& key : keys) alone.push_back(zynEvaluator::evaluate(member(key.c_str()))->get_string());
  EXPECT_NE(alone.front(), alone[alone.size() - 2]);
  EXPECT_NE(alone[1], alone.back());
  for (bool warm : {false, true})
    for (int step : {1, -1}) {
      zynEvalMemoScope memo(warm);
      for (size_t k = 0; k < keys.size(); ++k) {
        const size_t i = step > 0 ? k : keys.size() - 1 - k;
        SCOPED_TRACE(keys[i]);
        EXPECT_EQ(zynEvaluator::evaluate(member(keys[i].c_str()))->get_string(), alone[i]);
      }
    }
  EXPECT_EQ(zynEvalDepth::level(), 0);
}

TEST_F(Evaluator, RecordsEachOfManyReferencesOnce) {
  std::string text = "0";
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < 40; ++i) {
      const std::string name = "r" + std::to_string(i);
      if (round == 0) scope.add(name, number(1));
      text += " + " + name;
    }
  EXPECT_EQ(eval(text)->get_double(), 80.0);
  zynParameterPtrcoDList read;
  ev.get_paramset(read);
  ASSERT_EQ(read.size(), 40u);
  EXPECT_TRUE(read.front() == member("r0"));
  EXPECT_TRUE(read.back() == member("r39"));
}

TEST_F(Evaluator, ActivityFollowsWhatTheConditionReads) {
  zynParameterPtr p = scope.add("p", number(1));
  p->set_active("a > 1");
  EXPECT_EQ(p->is_active(), 1);
  member("a")->set_string("0");
  EXPECT_EQ(p->is_active(), 0);
  member("a")->set_string("5");
  EXPECT_EQ(p->is_active(), 1);
}

}  // namespace

// A read answers from what earlier reads kept, or from the compiled text,
// only while nothing it depends on was written: after each kind of write it
// must agree with the evaluator reading afresh.
TEST(EvaluatorKeptValues, EveryWriteIsSeen) {
  const std::vector<std::pair<const char*, void (*)(zynParameter& root, zynParameter& g, zynParameter& e)>> writes = {
      {"value", [](zynParameter& root, zynParameter&, zynParameter&) { root["a"]->set_double(7); }},
      {"text", [](zynParameter& root, zynParameter&, zynParameter&) { root["a"]->set_string("b + 1"); }},
      {"range", [](zynParameter&, zynParameter&, zynParameter& e) {
         static_cast<zynParameterNumeric&>(e).set_range(zynRange(0, 5));
       }},
      {"shadowed", [](zynParameter&, zynParameter& g, zynParameter&) { g.add("a", zyn_real(-1)); }},
      {"removed", [](zynParameter& root, zynParameter&, zynParameter&) { root.remove("b"); }},
      {"renamed", [](zynParameter& root, zynParameter&, zynParameter&) { root["b"]->set_name("bb"); }},
      {"decimal point", [](zynParameter&, zynParameter&, zynParameter&) { nlsUtils::m_decimal_point = ','; }},
      {"unit system", [](zynParameter&, zynParameter&, zynParameter&) { zynUnitsUtils::set_units(zynUnitsImperial); }},
      {"built-in shadowed", [](zynParameter& root, zynParameter&, zynParameter&) { root.add("max", zyn_function("100")); }},
      {"failing", [](zynParameter& root, zynParameter&, zynParameter&) { root["b"]->set_string("1 / 0"); }},
  };
  for (const char* text : {"max(a, b) * 2 + c", "(a + 1,5) / b", "2 mm + a", "a > b | c >= 1"})
    for (const auto& [what, write] : writes) {
      SCOPED_TRACE(std::string(text) + " after: " + what);
      zynParameterPtr root = zyn_test_lib_root();
      root->add("a", zyn_real(2));
      root->add("b", zyn_real(3));
      zynParameterPtr g = root->add("g", zyn_map());
      g->add("c", number(4));
      zynParameterPtr e = g->add("e", formula(text));
      for (int i = 0; i < 3; ++i) e->get_double(), e->get_string(), e->is_valid();
      write(*root, *g, *e);
      const double read = e->get_double();
      const utString shown = e->get_string();
      const int valid = e->is_valid();
      zyn_eval_set_reference(true);
      EXPECT_EQ(read, e->get_double());
      EXPECT_EQ(shown, e->get_string());
      EXPECT_EQ(valid, e->is_valid());
      zyn_eval_set_reference(false);
      nlsUtils::m_decimal_point = '.';
      zynUnitsUtils::set_units(zynUnitsMetric);
    }
}
