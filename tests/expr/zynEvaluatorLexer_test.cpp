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
      {"1,5", {"4:1.5"}},
      {".5", {"4:.5"}},
      {"1.5.2", {"4:1.5", "1:.", "4:2"}},
      {"2e-3", {"4:2e-3"}},
      {"2e5e1", {"4:2e5", "2:e1"}},
      {"1, 2", {"4:1", "1:,", "4:2"}},
      {"1;2", {"4:1", "1:,", "4:2"}},
      {"NOT a or b xor c AND d", {"1:!", "2:a", "1:|", "2:b", "1:xor", "2:c", "1:&", "2:d"}},
      {"a eq b NE c gt d LT e ge f le g",
       {"2:a", "1:==", "2:b", "1:!=", "2:c", "1:>", "2:d", "1:<", "2:e", "1:>=", "2:f", "1:<=", "2:g"}},
      {"a==b!=c>=d<=e>f<g", {"2:a", "1:==", "2:b", "1:!=", "2:c", "1:>=", "2:d", "1:<=", "2:e", "1:>", "2:f", "1:<", "2:g"}},
      {"5mm+2in", {"4:5", "1:mm", "1:+", "4:2", "1:in"}},
      {"mm * 2 m", {"2:mm", "1:*", "4:2", "1:m"}},
      {"f(x) g (y) h", {"3:f", "1:(", "2:x", "1:)", "3:g", "1:(", "2:y", "1:)", "2:h"}},
      {"a.b[1]{c}", {"2:a", "1:.", "2:b", "1:[", "4:1", "1:]", "1:{", "2:c", "1:}"}},
      {"'say \"hi\"' \"it's\"", {"4:say \"hi\"", "4:it's"}},
      {"l\xC3\xA4nge + \xE5\xB9\x85", {"2:l\xC3\xA4nge", "1:+", "2:\xE5\xB9\x85"}},
      {"a\xC2\xA0+\tb\n", {"2:a", "1:+", "2:b"}},
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
      {"x + \"open 'x'", {"2:x", "1:+", "error"}},
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
  EXPECT_EQ(lexer.token_count(), 3);
}

}  // namespace
