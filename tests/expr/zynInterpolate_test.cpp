#include <gtest/gtest.h>

#include <string>

#include "support/zynTestScope.h"
#include "zyn/zyn.h"

namespace {

zynParameterPtr number(zynParameterSubType subtype, double v) {
  return zynParameterPtr(new zynParameterNumeric(subtype, zynDimensions(ZYN_DIM_NONE), v));
}

// A scope holding the NUMERIC a = 2, the REAL r = 1.5 and an empty scope m.
class Interpolation : public ::testing::Test {
 protected:
  Interpolation() : m_scope(new zynTestScope) {
    m_scope->add("a", number(PS_NUMERIC, 2));
    m_scope->add("r", number(PS_REAL, 1.5));
    m_scope->add("m", zynParameterPtr(new zynTestScope));
  }
  utString interpolate(const utString& text) { return ev.interpolate_string(text); }

  zynParameterPtr m_scope;
  zynEvaluator ev{m_scope.pointer()};
};

struct Case {
  const char* text;
  const char* expected;
};

TEST_F(Interpolation, ReplacesEveryForm) {
  const Case cases[] = {
      {"a=%[a*3]", "a=6"},
      {"a=${a*3}", "a=6"},
      {"a=$a", "a=2"},
      {"r=%[r*2]", "r=3.0"},
      {"cost $$5", "cost $5"},
      {"$$$a", "$2"},
      {"$$$$", "$$"},
      {"100%", "100%"},
      {"x[1] {y} $ 5 % [", "x[1] {y} $ 5 % ["},
      {"$a,b", "2,b"},
      {"$a+1 x", "3 x"},  // a name text that is more than a name is an expression
      {"$and", "[Syntax error]"},
      {"$a\tb", "2\tb"},
      {"($a\n)", "(2\n)"},
      {"%[a]%[a]${a}", "222"},
      {"%[a * 3", "6"},  // a missing closer lets the expression run to the end
      {"%['<%[a]>']", "<2>"},
      {"%[1, 2]", "2"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(interpolate(c.text), c.expected);
  }
}

TEST_F(Interpolation, ManyNamesInALongText) {
  std::string text, expected;
  for (int i = 0; i < 20000; ++i) {
    text += "$a ";
    expected += "2 ";
  }
  EXPECT_EQ(interpolate(text), expected);
}

TEST_F(Interpolation, FirstErrorEndsTheText) {
  const Case cases[] = {
      {"before %[nothing] after %[a]", "before [Invalid name]"},
      {"v=$nothing here", "v=[Invalid name]"},
      {"v=$nothing!", "v=[Type error]"},  // "!" applies to the error first
      {"map ${m} here", "map [Type error]"},
      {"list %[{1, 2}]", "list [Type error]"},
      {"%[a b]", "[Syntax error]"},
      {"%[1/0]", "[Divide by zero]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(interpolate(c.text), c.expected);
  }
}

TEST_F(Interpolation, MessagesAreTranslated) {
  zynTranslator old = zynNLS_set_translator([](const char* key) -> const char* {
    return utString(key) == "Invalid name" ? "Unbekannter Name" : nullptr;
  });
  EXPECT_EQ(interpolate("x=%[y]"), "x=[Unbekannter Name]");
  zynNLS_set_translator(old);
}

TEST_F(Interpolation, RecordsWhatItReads) {
  interpolate("%[a] and $r");
  zynParameterPtrcoDList read;
  ev.get_paramset(read);
  EXPECT_EQ(read.size(), 2u);
}

}  // namespace
