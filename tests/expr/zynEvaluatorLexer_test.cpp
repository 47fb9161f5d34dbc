#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zyn/zyn.h"

namespace {

// Reads tokens as translate does: an operand is expected except after a
// name, a value, "." or a postfix operator.
class Lexer : public zynEvaluator {
 public:
  Lexer() : zynEvaluator(nullptr) {}
  // Returns the tokens of "text" as "kind:text" items; a lexical error ends
  // the list with "error".
  std::vector<std::string> tokens(const utString& text) {
    set_text(text);
    std::vector<std::string> out;
    int operand_expected = 1;
    for (;;) {
      next_token(operand_expected);
      if (token_kind() == TK_END) {
        if (zynParameter::get_subtype(*token_value()) == PS_ERR_SYNTAX && !token_value().is_null()) out.push_back("error");
        return out;
      }
      out.push_back(std::to_string(token_kind()) + ":" + token_text());
      const bool unit = token_kind() == TK_OPERATOR && postfix_ops().count(token_text()) && token_text() != "!";
      operand_expected = (token_kind() != TK_OPERATOR || token_text() == "." || unit) ? 0 : 1;
    }
  }
  using zynEvaluator::check_parentheses;
  using zynEvaluator::next_token;
  using zynEvaluator::set_text;
  using zynEvaluator::token_count;
};

using Tokens = std::vector<std::string>;

struct LexCase {
  const char* input;
  Tokens expected;
};

TEST(EvaluatorLexer, CutsTextIntoTokens) {
  const LexCase cases[] = {
      {"1.5", {"4:1.5"}},
      {"1,5", {"4:1.5"}},
      {".5", {"4:.5"}},
      {"1.5.2", {"4:1.5", "1:.", "4:2"}},
      {"2e-3", {"4:2e-3"}},
      {"2E+3", {"4:2E+3"}},
      {"2-3", {"4:2", "1:-", "4:3"}},
      {"2e5e1", {"4:2e5", "2:e1"}},
      {"1, 2", {"4:1", "1:,", "4:2"}},
      {"1;2", {"4:1", "1:,", "4:2"}},
      {"a AND b and c And d", {"2:a", "1:&", "2:b", "1:&", "2:c", "1:&", "2:d"}},
      {"a xor b XOR c", {"2:a", "1:xor", "2:b", "1:xor", "2:c"}},
      {"NOT a or b", {"1:!", "2:a", "1:|", "2:b"}},
      {"a eq b NE c gt d LT e ge f le g",
       {"2:a", "1:==", "2:b", "1:!=", "2:c", "1:>", "2:d", "1:<", "2:e", "1:>=", "2:f", "1:<=", "2:g"}},
      {"a==b!=c>=d<=e>f<g", {"2:a", "1:==", "2:b", "1:!=", "2:c", "1:>=", "2:d", "1:<=", "2:e", "1:>", "2:f", "1:<", "2:g"}},
      {"5 mm", {"4:5", "1:mm"}},
      {"5mm+2in", {"4:5", "1:mm", "1:+", "4:2", "1:in"}},
      {"mm * 2 m", {"2:mm", "1:*", "4:2", "1:m"}},
      {"MM", {"2:MM"}},
      {"f(x) g (y) h", {"3:f", "1:(", "2:x", "1:)", "3:g", "1:(", "2:y", "1:)", "2:h"}},
      {"a.b[1]{c}", {"2:a", "1:.", "2:b", "1:[", "4:1", "1:]", "1:{", "2:c", "1:}"}},
      {"_x $y a_1", {"2:_x", "2:$y", "2:a_1"}},
      {"'say \"hi\"' \"it's\"", {"4:say \"hi\"", "4:it's"}},
      {"-a ! !b", {"1:-", "2:a", "1:!", "1:!", "2:b"}},
      {"2^3%4/5*6", {"4:2", "1:^", "4:3", "1:%", "4:4", "1:/", "4:5", "1:*", "4:6"}},
      {"l\xC3\xA4nge + \xE5\xB9\x85", {"2:l\xC3\xA4nge", "1:+", "2:\xE5\xB9\x85"}},
      {"a\xC2\xA0+\tb\n", {"2:a", "1:+", "2:b"}},
      {"", {}},
      {"   ", {}},
  };
  for (const LexCase& c : cases) {
    SCOPED_TRACE(c.input);
    Lexer lexer;
    EXPECT_EQ(lexer.tokens(c.input), c.expected);
  }
}

TEST(EvaluatorLexer, LexicalErrorsEndTheTokens) {
  const LexCase cases[] = {
      {"1 # 2", {"4:1", "error"}},
      {"a = b", {"2:a", "error"}},
      {"'open", {"error"}},
      {"x + \"open 'x'", {"2:x", "1:+", "error"}},
      {"2e", {"error"}},
      {"2e+", {"error"}},
      {"1e5.3", {"error"}},
      {"a \xC3\x97 b", {"2:a", "error"}},  // a multiplication sign is no letter
      {"\xFF", {"error"}},                 // a stray byte
  };
  for (const LexCase& c : cases) {
    SCOPED_TRACE(c.input);
    Lexer lexer;
    EXPECT_EQ(lexer.tokens(c.input), c.expected);
  }
}

TEST(EvaluatorLexer, StrictDecimalReadsCommaAsSeparator) {
  Lexer lexer;
  lexer.strict_decimal();
  EXPECT_EQ(lexer.tokens("1,5"), (Tokens{"4:1", "1:,", "4:5"}));
  EXPECT_EQ(lexer.tokens("1.5"), (Tokens{"4:1.5"}));
}

TEST(EvaluatorLexer, CountsBracketsButNotSquareOnes) {
  Lexer lexer;
  lexer.tokens("f((1)");
  EXPECT_FALSE(lexer.check_parentheses());
  lexer.tokens("{(a)}");
  EXPECT_TRUE(lexer.check_parentheses());
  lexer.tokens("a[1");
  EXPECT_TRUE(lexer.check_parentheses());
  lexer.tokens("a}");
  EXPECT_FALSE(lexer.check_parentheses());
}

TEST(EvaluatorLexer, CountsTokensReadBeforeTheEnd) {
  Lexer lexer;
  lexer.tokens("a + (b)");
  EXPECT_EQ(lexer.token_count(), 5);
}

TEST(EvaluatorLexer, TablesHoldEveryOperator) {
  zynEvaluator::init_tables();
  const utStringintcoTable& binary = zynEvaluator::binary_ops();
  EXPECT_EQ(binary.size(), 20u);
  EXPECT_EQ(binary.at(","), 1);
  EXPECT_EQ(binary.at("|"), 2);
  EXPECT_EQ(binary.at("xor"), 3);
  EXPECT_EQ(binary.at("&"), 4);
  EXPECT_EQ(binary.at("!="), 5);
  EXPECT_EQ(binary.at("<="), 6);
  EXPECT_EQ(binary.at("-"), 7);
  EXPECT_EQ(binary.at("%"), 8);
  EXPECT_EQ(binary.at("^"), 9);
  EXPECT_EQ(binary.at("["), 12);
  EXPECT_EQ(binary.at("("), 13);
  EXPECT_EQ(binary.at("{"), 14);
  EXPECT_EQ(binary.at("."), 15);
  EXPECT_EQ(zynEvaluator::prefix_ops(), (utStringintcoTable{{"+", 11}, {"-", 11}, {"!", 11}}));
  EXPECT_EQ(zynEvaluator::postfix_ops().size(), 9u);
  EXPECT_EQ(zynEvaluator::postfix_ops().at("th"), 10);
  EXPECT_EQ(zynEvaluator::equiv_alpha_ops().size(), 10u);
  EXPECT_EQ(zynEvaluator::equiv_alpha_ops().at("XOR"), "xor");
  EXPECT_EQ(zynEvaluator::equiv_alpha_ops().at("LE"), "<=");
}

// Sets the locale decimal point for the life of the object.
class DecimalPoint {
 public:
  explicit DecimalPoint(char c) : m_saved(nlsUtils::m_decimal_point) { nlsUtils::m_decimal_point = c; }
  ~DecimalPoint() { nlsUtils::m_decimal_point = m_saved; }

 private:
  char m_saved;
};

TEST(EvaluatorLexer, LocalizeAndNeutralizeRewriteNumbersAndSeparators) {
  {
    DecimalPoint comma(',');
    EXPECT_EQ(zynEvaluator::localize("1.5*max(a;2)"), "1,5*max(a;2)");
    EXPECT_EQ(zynEvaluator::neutralize("1,5*max(a;2)"), "1.5*max(a;2)");
    EXPECT_EQ(zynEvaluator::localize(".25 + x.y"), ",25 + x.y");
    EXPECT_EQ(zynEvaluator::localize("'1.5' + 1.5"), "'1.5' + 1,5");
  }
  DecimalPoint point('.');
  EXPECT_EQ(zynEvaluator::neutralize("max(1, 2,5)"), "max(1; 2.5)");
  EXPECT_EQ(zynEvaluator::localize("1.5"), "1.5");
  EXPECT_EQ(zynEvaluator::localize("plain text"), "plain text");
  // A lexical error ends the rewrite: the rest stays as it was.
  EXPECT_EQ(zynEvaluator::neutralize("1,5 'a, b"), "1.5 'a, b");
  EXPECT_EQ(zynEvaluator::neutralize("a # 1,5"), "a # 1,5");
}

TEST(EvaluatorLexer, TranslateReadsACommaBeforeADigitAsDecimalPoint) {
  zynEvaluator ev(nullptr);
  // After a number a comma separates; elsewhere ",3" is a number.
  EXPECT_EQ(ev.translate("f(1.5,2)", ',', ','), "f(1,5;2)");
  EXPECT_EQ(ev.translate("2in,3", '.', '.'), "2in.3");
  EXPECT_EQ(ev.translate("2in, 3", '.', '.'), "2in; 3");
}

}  // namespace
