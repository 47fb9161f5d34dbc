// The lexer half of zynEvaluator: tokens, operator tables, and the rewrite
// of decimal points and list separators (translate, localize, neutralize).
//
// Tokens:
//   number   -> digit {digit} ["." digit {digit}] ["e" ["+"|"-"] digit {digit}]
//               (also starting with the decimal point; ',' counts as a decimal
//               point too unless strict_decimal, but only before a digit)
//   name     -> (letter | "_" | "$") {letter | digit | "_"}
//   call     -> name followed, after blanks, by "("
//   string   -> '"' {any but '"'} '"' | "'" {any but "'"} "'"
//   operator -> the longest of "==" "!=" ">=" "<=", else one of
//               "|&><+-*/%^.!", a bracket, ";" or "," (a list separator),
//               or a word: AND OR XOR NOT EQ NE GT LT GE LE in any case, and
//               after an operand the units m cm mm um yd ft in th.
// The language has no comments and no escape sequences.
#include "zyn/expr/zynEvaluator.h"

#include <cstring>

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvaluator_internal.h"
#include "zyn/expr/zynEvaluatorValues_internal.h"
#include "zyn/host/zynCharTypes.h"
#include "zyn/host/zynNls.h"
#include "zyn/host/zynUtf8.h"

namespace {

constexpr unsigned S = ZYN_CC_SPACE, B = ZYN_CC_SPACE | ZYN_CC_BLANK, A = ZYN_CC_ALPHA, D = ZYN_CC_DIGIT;

// Classes of the ASCII characters, indexed by the byte.
constexpr unsigned char ascii_class[128] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, B, S, S, S, S, 0, 0,  // \t \n \v \f \r
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
    B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // space
    D, D, D, D, D, D, D, D, D, D, 0, 0, 0, 0, 0, 0,  // 0-9
    0, A, A, A, A, A, A, A, A, A, A, A, A, A, A, A,  // A-O
    A, A, A, A, A, A, A, A, A, A, A, 0, 0, 0, 0, 0,  // P-Z
    0, A, A, A, A, A, A, A, A, A, A, A, A, A, A, A,  // a-o
    A, A, A, A, A, A, A, A, A, A, A, 0, 0, 0, 0, 0,  // p-z
};

// The operator words, compared without regard to case.
struct OperatorWord {
  const char* word;
  int op;
};
constexpr OperatorWord operator_words[] = {
    {"AND", ZYN_OP_AND}, {"OR", ZYN_OP_OR}, {"XOR", ZYN_OP_XOR}, {"NOT", ZYN_OP_NOT}, {"EQ", ZYN_OP_EQ},
    {"NE", ZYN_OP_NE},   {"GT", ZYN_OP_GT}, {"LT", ZYN_OP_LT},   {"GE", ZYN_OP_GE},   {"LE", ZYN_OP_LE},
};

bool same_word(const char* s, size_t n, const char* upper) {
  for (size_t i = 0; i < n; ++i) {
    if (upper[i] == '\0') return false;
    char c = s[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upper[i]) return false;
  }
  return upper[n] == '\0';
}

int word_operator(const char* s, size_t n) {
  if (n < 2 || n > 3) return ZYN_OP_NONE;
  for (const OperatorWord& w : operator_words)
    if (same_word(s, n, w.word)) return w.op;
  return ZYN_OP_NONE;
}

// Returns the unit suffix spelt exactly as "s", or ZYN_OP_NONE.
int unit_operator(const char* s, size_t n) {
  if (n > 2) return ZYN_OP_NONE;
  for (int op = ZYN_OP_UNIT_M; op <= ZYN_OP_UNIT_TH; ++op)
    if (std::strlen(zyn_expr_ops[op].text) == n && std::memcmp(zyn_expr_ops[op].text, s, n) == 0) return op;
  return ZYN_OP_NONE;
}

// Returns the symbolic operator at "s" (up to two characters available in
// "n"), longest first, and its length in "len".
int symbol_operator(const char* s, size_t n, size_t& len) {
  if (n >= 2 && s[1] == '=') {
    len = 2;
    switch (s[0]) {
      case '=': return ZYN_OP_EQ;
      case '!': return ZYN_OP_NE;
      case '>': return ZYN_OP_GE;
      case '<': return ZYN_OP_LE;
      default: break;
    }
  }
  len = 1;
  switch (s[0]) {
    case '|': return ZYN_OP_OR;
    case '&': return ZYN_OP_AND;
    case '>': return ZYN_OP_GT;
    case '<': return ZYN_OP_LT;
    case '+': return ZYN_OP_ADD;
    case '-': return ZYN_OP_SUB;
    case '*': return ZYN_OP_MUL;
    case '/': return ZYN_OP_DIV;
    case '%': return ZYN_OP_MOD;
    case '^': return ZYN_OP_POW;
    case '.': return ZYN_OP_MEMBER;
    case '!': return ZYN_OP_NOT;  // a prefix and a postfix operator: always accepted
    default: return ZYN_OP_NONE;
  }
}

}  // namespace

// --- Character classes and operator texts ----------------------------------------

unsigned zyn_expr_char_class(const utString& text, size_t pos, size_t& length) {
  const unsigned char c = static_cast<unsigned char>(text[pos]);
  if (c < 0x80) {
    length = 1;
    return ascii_class[c];
  }
  // A stray byte is a character of no class.
  length = zyn_utf8::char_length(text.data(), text.size(), pos);
  if (length == 1) return 0;
  // One character of at most four bytes fits the small-string buffers, so
  // classifying it through the toolbox allocates nothing.
  zynCharTypes ct(text.substr(pos, length));
  if (ct.isalpha(0)) return ZYN_CC_ALPHA;
  if (ct.isspace(0)) return ct.isblank(0) ? (ZYN_CC_SPACE | ZYN_CC_BLANK) : ZYN_CC_SPACE;
  return 0;
}

const utString& zyn_expr_op_text(int op) {
  static const std::vector<utString> texts = [] {
    std::vector<utString> t;
    for (const zynExprOpInfo& info : zyn_expr_ops) t.emplace_back(info.text);
    return t;
  }();
  return texts[static_cast<size_t>(op >= 0 && op < ZYN_OP_COUNT ? op : 0)];
}

// --- Construction and tables -----------------------------------------------------

zynEvaluator::zynEvaluator(const zynParameter* owner) : m_owner(owner) { init_tables(); }

zynEvaluator::~zynEvaluator() = default;

void zynEvaluator::init_tables() {
  binary_ops();
  prefix_ops();
  postfix_ops();
  equiv_alpha_ops();
}

namespace {
utStringintcoTable table_of(signed char zynExprOpInfo::*column) {
  utStringintcoTable table;
  for (const zynExprOpInfo& info : zyn_expr_ops)
    if (info.*column >= 0) table.emplace(info.text, info.*column);
  return table;
}
}  // namespace

const utStringintcoTable& zynEvaluator::binary_ops() {
  static const utStringintcoTable table = table_of(&zynExprOpInfo::binary);
  return table;
}

const utStringintcoTable& zynEvaluator::prefix_ops() {
  static const utStringintcoTable table = table_of(&zynExprOpInfo::prefix);
  return table;
}

const utStringintcoTable& zynEvaluator::postfix_ops() {
  static const utStringintcoTable table = table_of(&zynExprOpInfo::postfix);
  return table;
}

const utStringutStringcoTable& zynEvaluator::equiv_alpha_ops() {
  static const utStringutStringcoTable table = [] {
    utStringutStringcoTable t;
    for (const OperatorWord& w : operator_words) t.emplace(w.word, zyn_expr_ops[w.op].text);
    return t;
  }();
  return table;
}

// --- Tokens ----------------------------------------------------------------------

void zynEvaluator::set_text(const utString& text) {
  m_text = text;
  m_pos = 0;
  m_kind = TK_END;
  m_op = ZYN_OP_NONE;
  m_token_count = 0;
  m_token_text.clear();
  m_token_value.release();
  m_paren_depth = 0;
  m_brace_depth = 0;
  m_prev_number = false;
  m_lex_failed = false;
  m_too_deep = false;
}

unsigned zynEvaluator::char_class_at(size_t pos, size_t& length) const {
  return zyn_expr_char_class(m_text, pos, length);
}

void zynEvaluator::next_token(int operand_expected) {
  const bool after_number = m_prev_number;
  m_prev_number = false;
  m_kind = TK_END;
  m_op = ZYN_OP_NONE;
  m_token_value.release();
  const size_t n = m_text.size();
  size_t len = 1;
  while (m_pos < n && (char_class_at(m_pos, len) & ZYN_CC_SPACE)) m_pos += len;
  if (m_pos >= n) {
    m_token_text.clear();
    return;
  }
  ++m_token_count;
  const size_t start = m_pos;
  const char c = m_text[start];
  const unsigned cls = char_class_at(start, len);
  const bool decimal_start = (c == '.' || c == m_alt_decimal) && !after_number && start + 1 < n &&
                             m_text[start + 1] >= '0' && m_text[start + 1] <= '9';
  if ((cls & ZYN_CC_DIGIT) || decimal_start) return lex_number(start);
  if ((cls & ZYN_CC_ALPHA) || c == '_' || c == '$') return lex_identifier(start, len, operand_expected);
  switch (c) {
    case '(': ++m_paren_depth; return set_operator(ZYN_OP_CALL, 1);
    case ')': --m_paren_depth; return set_operator(ZYN_OP_CLOSE_PAREN, 1);
    case '{': ++m_brace_depth; return set_operator(ZYN_OP_BRACE, 1);
    case '}': --m_brace_depth; return set_operator(ZYN_OP_CLOSE_BRACE, 1);
    case '[': return set_operator(ZYN_OP_INDEX, 1);
    case ']': return set_operator(ZYN_OP_CLOSE_BRACKET, 1);
    case ';':
    case ',':
      m_text[start] = ';';  // the one list separator of both text forms
      return set_operator(ZYN_OP_LIST, 1);
    case '"':
    case '\'': return lex_string(start);
    default: return lex_symbol(start, operand_expected);
  }
}

void zynEvaluator::set_operator(int op, size_t length) {
  m_kind = TK_OPERATOR;
  m_op = op;
  m_token_text = zyn_expr_op_text(op);
  m_pos += length;
}

void zynEvaluator::lex_error(size_t resume) {
  m_kind = TK_END;
  m_op = ZYN_OP_NONE;
  m_token_value = zynParameterError::create(PS_ERR_SYNTAX);
  m_lex_failed = true;
  m_pos = resume;
}

void zynEvaluator::lex_number(size_t start) {
  const size_t n = m_text.size();
  auto is_digit_at = [&](size_t i) { return i < n && m_text[i] >= '0' && m_text[i] <= '9'; };
  int points = 0;
  int exponents = 0;
  char prev = m_text[start];
  size_t i = start;
  if (!is_digit_at(start)) {  // a leading decimal point
    m_text[start] = m_decimal_point;
    points = 1;
  }
  for (++i; i < n; ++i) {
    const char d = m_text[i];
    if (d >= '0' && d <= '9') {
    } else if (d == '.' || d == m_alt_decimal) {
      // The alternative point must be followed by a digit, so that "1, 2"
      // stays a list; a second point ends the number ("1.5.2").
      if (points > 0 || (d != '.' && !is_digit_at(i + 1))) break;
      ++points;
      m_text[i] = m_decimal_point;
    } else if (d == '+' || d == '-') {
      if (prev != 'e') break;
    } else if (d == 'e' || d == 'E') {
      if (++exponents > 1) break;
    } else {
      break;
    }
    prev = (d == 'E') ? 'e' : d;
  }
  m_pos = i;
  m_token_text.assign(m_text, start, i - start);
  double value = 0.0;
  if (!zyn_expr_parse_number(m_token_text, value)) return lex_error(i);
  m_kind = TK_VALUE;
  m_prev_number = true;
  if (!m_rewrite_only) m_token_value = zyn_expr_make_number(value);
}

void zynEvaluator::lex_identifier(size_t start, size_t first_length, int operand_expected) {
  const size_t n = m_text.size();
  size_t i = start + first_length;
  size_t len = 1;
  while (i < n) {
    const char c = m_text[i];
    if (c == '_' || (char_class_at(i, len) & (ZYN_CC_ALPHA | ZYN_CC_DIGIT))) i += len;
    else break;
  }
  const char* s = m_text.data() + start;
  const size_t length = i - start;
  int op = word_operator(s, length);
  if (op == ZYN_OP_NONE && !operand_expected) op = unit_operator(s, length);
  if (op != ZYN_OP_NONE) return set_operator(op, length);
  m_pos = i;
  m_token_text.assign(s, length);
  while (i < n && (char_class_at(i, len) & ZYN_CC_SPACE)) i += len;
  m_kind = (i < n && m_text[i] == '(') ? TK_CALL : TK_NAME;
}

size_t zynEvaluator::plain_name_end(size_t start) const {
  const size_t n = m_text.size();
  size_t i = start;
  size_t len = 1;
  while (i < n) {
    const char c = m_text[i];
    if (c == '_' || (char_class_at(i, len) & (ZYN_CC_ALPHA | ZYN_CC_DIGIT))) i += len;
    else break;
  }
  if (i == start || (m_text[start] >= '0' && m_text[start] <= '9')) return start;
  return word_operator(m_text.data() + start, i - start) == ZYN_OP_NONE ? i : start;
}

void zynEvaluator::lex_string(size_t start) {
  const char quote = m_text[start];
  const size_t close = m_text.find(quote, start + 1);
  if (close == utString::npos) {
    m_token_text.assign(m_text, start + 1, utString::npos);
    return lex_error(m_text.size());
  }
  m_token_text.assign(m_text, start + 1, close - start - 1);
  m_pos = close + 1;
  m_kind = TK_VALUE;
  if (m_rewrite_only) return;
  if (zyn_expr_needs_interpolation(m_token_text)) {
    zynEvaluator inner(m_owner);
    m_token_value = zyn_create_string(inner.interpolate_string(m_token_text));
  } else {
    m_token_value = zyn_create_string(m_token_text);
  }
}

void zynEvaluator::lex_symbol(size_t start, int operand_expected) {
  (void)operand_expected;  // "!" is both a prefix and a postfix operator
  size_t len = 1;
  const int op = symbol_operator(m_text.data() + start, m_text.size() - start, len);
  if (op == ZYN_OP_NONE) {
    m_token_text.clear();
    return lex_error(start);
  }
  set_operator(op, len);
}

// --- Rewriting -------------------------------------------------------------------

utString zynEvaluator::translate(const utString& text, char /*from*/, char to) {
  set_text(text);
  m_decimal_point = to;
  m_rewrite_only = true;
  int operand_expected = 1;
  for (;;) {
    next_token(operand_expected);
    if (m_kind == TK_END) break;
    // After a name, a value, "." or a postfix operator comes no operand
    // ("." is followed by a member name, which is not resolved).
    bool operand_ends = m_kind != TK_OPERATOR || m_op == ZYN_OP_MEMBER;
    if (m_op == ZYN_OP_NOT) operand_ends = !operand_expected;
    else if (m_op >= ZYN_OP_UNIT_M) operand_ends = true;
    operand_expected = operand_ends ? 0 : 1;
  }
  m_rewrite_only = false;
  return m_text;
}

namespace {
// A text without ',' (and without '.' when the target is not '.') reads the
// same in both forms, so the lexer need not run.
bool translation_changes(const utString& text, char to) {
  return text.find(',') != utString::npos || (to != '.' && text.find('.') != utString::npos);
}
}  // namespace

utString zynEvaluator::localize(const utString& text) {
  const char to = nlsUtils::m_decimal_point;
  if (!translation_changes(text, to)) return text;
  zynEvaluator ev(nullptr);
  return ev.translate(text, '.', to);
}

utString zynEvaluator::neutralize(const utString& text) {
  if (!translation_changes(text, '.')) return text;
  zynEvaluator ev(nullptr);
  return ev.translate(text, nlsUtils::m_decimal_point, '.');
}
