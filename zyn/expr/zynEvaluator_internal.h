// Pieces shared by the lexer, the parser and string interpolation: the
// operator codes with their canonical texts and precedences, and the
// character classes of expression text.
#pragma once

#include <cstddef>

#include "zyn/host/utString.h"

// Operators and brackets as the lexer reports them. ORDER: zyn_expr_ops
// lists one row per code, in this order.
enum zynExprOp : int {
  ZYN_OP_NONE,           // not an operator
  ZYN_OP_LIST,           // ","  (also ";")
  ZYN_OP_OR,             // "|"  (also OR)
  ZYN_OP_XOR,            // "xor"
  ZYN_OP_AND,            // "&"  (also AND)
  ZYN_OP_EQ,             // "=="
  ZYN_OP_NE,             // "!="
  ZYN_OP_GT,             // ">"
  ZYN_OP_LT,             // "<"
  ZYN_OP_GE,             // ">="
  ZYN_OP_LE,             // "<="
  ZYN_OP_ADD,            // "+"  (binary or prefix)
  ZYN_OP_SUB,            // "-"  (binary or prefix)
  ZYN_OP_MUL,            // "*"
  ZYN_OP_DIV,            // "/"
  ZYN_OP_MOD,            // "%"
  ZYN_OP_POW,            // "^"
  ZYN_OP_INDEX,          // "["  a[i]
  ZYN_OP_CALL,           // "("  f(x), also a group or tuple
  ZYN_OP_BRACE,          // "{"  array literal
  ZYN_OP_MEMBER,         // "."  a.b
  ZYN_OP_CLOSE_PAREN,    // ")"
  ZYN_OP_CLOSE_BRACKET,  // "]"
  ZYN_OP_CLOSE_BRACE,    // "}"
  ZYN_OP_NOT,            // "!"  (prefix or postfix; also NOT)
  ZYN_OP_UNIT_M,         // "m"  length suffixes, only after an operand
  ZYN_OP_UNIT_CM,        // "cm"
  ZYN_OP_UNIT_MM,        // "mm"
  ZYN_OP_UNIT_UM,        // "um"
  ZYN_OP_UNIT_YD,        // "yd"
  ZYN_OP_UNIT_FT,        // "ft"
  ZYN_OP_UNIT_IN,        // "in"
  ZYN_OP_UNIT_TH,        // "th"
  ZYN_OP_COUNT
};

struct zynExprOpInfo {
  const char* text;    // canonical text, as handed to the operate_ methods
  signed char binary;  // precedence as a binary operator, -1 when it is none
  signed char prefix;  // precedence as a prefix operator, -1 when it is none
  signed char postfix; // precedence as a postfix operator, -1 when it is none
};

// ORDER zynExprOp.
inline constexpr zynExprOpInfo zyn_expr_ops[ZYN_OP_COUNT] = {
    {"", -1, -1, -1},     {",", 1, -1, -1},     {"|", 2, -1, -1},     {"xor", 3, -1, -1},
    {"&", 4, -1, -1},     {"==", 5, -1, -1},    {"!=", 5, -1, -1},    {">", 6, -1, -1},
    {"<", 6, -1, -1},     {">=", 6, -1, -1},    {"<=", 6, -1, -1},    {"+", 7, 11, -1},
    {"-", 7, 11, -1},     {"*", 8, -1, -1},     {"/", 8, -1, -1},     {"%", 8, -1, -1},
    {"^", 9, -1, -1},     {"[", 12, -1, -1},    {"(", 13, -1, -1},    {"{", 14, -1, -1},
    {".", 15, -1, -1},    {")", -1, -1, -1},    {"]", -1, -1, -1},    {"}", -1, -1, -1},
    {"!", -1, 11, 10},    {"m", -1, -1, 10},    {"cm", -1, -1, 10},   {"mm", -1, -1, 10},
    {"um", -1, -1, 10},   {"yd", -1, -1, 10},   {"ft", -1, -1, 10},   {"in", -1, -1, 10},
    {"th", -1, -1, 10},
};

// Returns the canonical text of "op" as a string shared by every evaluator.
const utString& zyn_expr_op_text(int op);

// Character classes, as bits.
enum : unsigned {
  ZYN_CC_SPACE = 1,  // white space, line breaks included
  ZYN_CC_BLANK = 2,  // space and tab (and the non-breaking Unicode spaces)
  ZYN_CC_ALPHA = 4,  // letters, in any script
  ZYN_CC_DIGIT = 8   // ASCII digits only
};

// Returns the class bits of the character starting at byte "pos" of "text"
// (pos < size) and stores its length in bytes (1 to 4) in "length". ASCII is
// classified by table; other characters as the toolbox's zynCharTypes does.
unsigned zyn_expr_char_class(const utString& text, size_t pos, size_t& length);
