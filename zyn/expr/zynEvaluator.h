// zynEvaluator evaluates the expression text of a parameter in the scope of
// its owner. The lexer cuts the text into tokens on demand; the parser reads
// them by precedence climbing and applies every operator at once through the
// operands' own operate_binary / operate_prefix / operate_postfix, so there
// is no syntax tree and the evaluator itself knows no arithmetic. One
// evaluator lives on the stack of each evaluation.
//
// Example:
//   zynEvaluator ev(owner);                  // names resolve from "owner" upwards
//   zynParameterPtr v = ev.evaluate("2 * diameter + 1 mm");
//   utString s = ev.interpolate_string("d=%[diameter]");
//
// Nesting is bounded: one counter per thread adds up the expression levels
// open in every evaluator at once and the parameter evaluations in
// progress, so deep brackets in one text and long chains of parameters that
// read each other (each parameter evaluation runs a fresh evaluator) share
// one budget of zyn_max_eval_depth. Past it the evaluation answers
// "Expression/Reference error" instead of exhausting the stack. A bracket,
// prefix or operand level costs 1 and a parameter evaluation 2 (its frames
// are several times larger), so at the limit the stack in use stays near
// 1.2 MB in a debug build and 2.3 MB under AddressSanitizer, while a chain of
// 1500 parameters, or of 750 that each add to the next, still evaluates.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "zyn/core/zynParameter.h"

// A table from an operator text to its precedence.
using utStringintcoTable = std::unordered_map<utString, int>;

// The number of nested expression levels one thread may have open at once.
constexpr int zyn_max_eval_depth = 3000;

// The largest values an evaluation builds: a text of more bytes, or an array
// of more elements (nested elements counted), answers "Invalid arguments"
// instead, so that a short text cannot grow a value until the heap runs out.
constexpr size_t zyn_max_text_size = size_t(16) << 20;
constexpr int zyn_max_value_elements = 1 << 20;

// Counts "weight" levels of nested evaluation for as long as it lives. The
// counter is shared by every evaluator of the thread, so nesting through
// parameters that evaluate one another is bounded together with nesting in
// one text.
class ZYN_EXPORT zynEvalDepth {
 public:
  explicit zynEvalDepth(int weight = 1);
  ~zynEvalDepth();
  zynEvalDepth(const zynEvalDepth&) = delete;
  zynEvalDepth& operator=(const zynEvalDepth&) = delete;

  // Returns true when this level lies beyond zyn_max_eval_depth.
  bool exceeded() const { return m_exceeded; }
  // Returns the number of levels open on this thread.
  static int level();
  // The weight of one parameter evaluation.
  static constexpr int parameter_weight = 2;

 private:
  int m_weight;
  bool m_exceeded;
};

// Keeps the answers of parameter evaluations for as long as it lives, so
// that reads made meanwhile evaluate each parameter at most once while
// nothing changes. Every outermost evaluation opens one of its own; a caller
// that reads many parameters of an unchanged tree (a check of every member)
// may hold one across all its reads. A value that changes drops what was
// kept. Scopes nest; the outermost one decides how long answers are kept.
//
// A nesting bound makes a chain of parameters longer than the bound fail
// when read from its far end, and each such read must fail exactly where it
// would alone: reading all n members of the chain costs n times the bound.
// A holder that goes on to read every member anyway (a listing, a check, an
// export) passes "warm_chains": a read that a bound refuses then evaluates
// the members its chain passed through too, deepest first, so that each of
// them is later answered from the memo. It costs one read a walk of the
// chain's members, and evaluates members the read itself did not reach.
class ZYN_EXPORT zynEvalMemoScope {
 public:
  explicit zynEvalMemoScope(bool warm_chains = false);
  ~zynEvalMemoScope();
  zynEvalMemoScope(const zynEvalMemoScope&) = delete;
  zynEvalMemoScope& operator=(const zynEvalMemoScope&) = delete;

 private:
  bool m_warm_chains;
};

// Reading an expression numeric (get_double) skips work in two ways; the
// evaluator above stays the definition of every answer.
// - Kept values. The value a read gave is kept on the numeric, stamped with
//   the change generation of the process, and a later read answers from it
//   while the generation stands and the decimal point is the same. Every
//   write that can change what some text evaluates to advances the
//   generation: a value or text set (set_string, set_double, reset, loading,
//   mirroring, copying), a member added, removed or renamed (list sizes
//   too), a record replaced, a range, unit, activity condition, enumeration
//   state or function body set, a reference retargeted, a read callback
//   installed, the unit system, the evaluation scope, the angle unit or the
//   tolerance switched, a built-in registered, an impure built-in or a host
//   function called. The decimal point (nlsUtils::m_decimal_point, which
//   hosts assign directly) is kept with the value and compared instead.
// - Compiled texts. A text made of numbers, names of numeric members, the
//   arithmetic, comparison and logic operators, brackets and the built-ins
//   max, min and sqrt is compiled once (zynEvalCompiled_internal.h), with
//   every name bound to the member it resolves to. The binding holds while
//   the structure generation stands: it advances on every write above but
//   a value or text set, so changing an input costs a run of the compiled
//   text, not a parse. A run that meets an error or an operand that is no
//   longer a literal leaves the read to the evaluator.
// Nothing is kept when a read depended on where it ran (a cycle was met, an
// impure built-in or a host function ran, a nesting bound refused) or when
// anything was written meanwhile, and a kept value or compiled text is used
// only where it fits under the nesting bounds its first read needed. Once a
// host installs a read callback, every read evaluates, as before, so that
// each callback fires. Only a numeric's get_double, and its is_valid and
// get_string when it has no range, take these paths: evaluate(), the
// referenced-parameter list and activity always run the evaluator. A host
// whose own functions change their answers calls zyn_eval_note_change().
ZYN_EXPORT void zyn_eval_note_change();
ZYN_EXPORT uint64_t zyn_eval_generation();
// Roots keep the members they found by key under the same generation (see
// zynParameterRoot), so a repeated path is answered without a walk.
//
// Turns kept values, compiled texts and kept members off ("true") for the process, so that
// every read evaluates its text afresh: the reference they are checked
// against. It is off by default; the environment variable ZYN_EVAL_REFERENCE=1
// turns it on at load.
ZYN_EXPORT void zyn_eval_set_reference(bool on);
ZYN_EXPORT bool zyn_eval_reference();

class ZYN_EXPORT zynEvaluator {
 public:
  // Token kinds; token_kind() returns one of them.
  enum TokenKind {
    TK_END = 0,       // end of text, also left behind by a lexical error
    TK_OPERATOR = 1,  // operator or bracket; token_text() is its canonical text ("AND" gives "&")
    TK_NAME = 2,      // identifier
    TK_CALL = 3,      // identifier followed by "("
    TK_VALUE = 4      // number or string literal; token_value() holds it
  };

  // An evaluator whose names resolve from "owner" up its ancestors; null
  // makes every name an "Invalid name" error. Fills the operator tables on
  // the first construction in the process.
  explicit zynEvaluator(const zynParameter* owner = nullptr);
  virtual ~zynEvaluator();
  zynEvaluator(const zynEvaluator&) = delete;
  zynEvaluator& operator=(const zynEvaluator&) = delete;

  // Fills the four operator tables on the first call; later calls do nothing.
  static void init_tables();
  // The operator tables: binary operator text to precedence (1 for "," up to
  // 15 for "."), the prefix operators "+", "-", "!" (11), the postfix "!"
  // and length-unit suffixes (10), and the operator words in capitals to
  // their symbols ("AND" to "&"). Built once, never changed.
  static const utStringintcoTable& binary_ops();
  static const utStringintcoTable& prefix_ops();
  static const utStringintcoTable& postfix_ops();
  static const utStringutStringcoTable& equiv_alpha_ops();

  // Returns the value of "text" in the owner's scope, a new or shared
  // parameter, or an error value: "Syntax error" for text that does not
  // parse (unbalanced brackets, a stray token, a lexical error),
  // "Expression/Reference error" when an error stops the parse before the end
  // of the text or the nesting limit is reached, the operand's own error
  // (such as "Divide by zero") when it arises at the very end. Resets all
  // parsing state and the list of referenced parameters first.
  zynParameterPtr evaluate(const utString& text);
  // Returns p->evaluate().
  static zynParameterPtr evaluate(const zynParameterPtr& p);

  // Returns "text" with its embedded expressions replaced by the text of
  // their values: "%[" expr "]", "${" expr "}", "$" name (up to the next
  // blank or ","), and "$$" for a single "$". Never fails as a whole: the
  // first embedded error ends the text with its message in square brackets,
  // and a map or array value counts as "Type error". Referenced parameters
  // accumulate across calls (they are not cleared as by evaluate).
  utString interpolate_string(const utString& text);

  // Copies the parameters the last evaluation read into "out": each at most
  // once, in the order first met. Only the end of a member chain counts.
  void get_paramset(zynParameterPtrcoDList& out) const;
  // Returns true when the last evaluation referenced a function parameter.
  bool has_function_param() const { return m_function_seen; }

  // Makes '.' the only decimal point, so that "1,5" reads as a list.
  void strict_decimal() { m_alt_decimal = '.'; }
  // Replaces the owner.
  void set_scope(const zynParameter* owner) { m_owner = owner; }

  // Returns "text" with every decimal point inside a number written as "to"
  // and every list separator (";" or "," outside numbers) written as ";".
  // "from" is not used: '.' and ',' are both read as decimal points. A
  // lexical error (such as an unterminated string) ends the rewrite there
  // and leaves the rest as it was. Evaluates nothing.
  utString translate(const utString& text, char from, char to);
  // Returns the displayed form of "text": decimal points in numbers become
  // the locale decimal point (nlsUtils::m_decimal_point).
  static utString localize(const utString& text);
  // Returns the stored (neutral) form of "text": decimal points in numbers
  // become '.'.
  static utString neutralize(const utString& text);

 protected:
  // Parses and evaluates operators of at least "min_precedence". With
  // "operand_expected" 0 a name is taken as a member name, not resolved.
  // With "tolerant" 1 the text is only parsed: names stay strings, binary
  // operators and indexing are not applied and errors do not stop the parse.
  virtual zynParameterPtr expression(int min_precedence, int operand_expected, int tolerant);
  // Parses one operand with its prefix operators: a name, a call name, a
  // literal, a group or tuple "(...)", an array literal "{...}".
  virtual zynParameterPtr primary(int operand_expected, int tolerant);

  // Reads the next token into the token kind, text and value. With
  // "operand_expected" 1 the prefix table is consulted, else the postfix
  // table (so "mm" after an operand is a unit, elsewhere a name).
  void next_token(int operand_expected);
  // Returns 1 when both the parenthesis and the brace depth are 0.
  int check_parentheses() const { return m_paren_depth == 0 && m_brace_depth == 0; }

  // The current token.
  int token_kind() const { return m_kind; }
  const utString& token_text() const { return m_token_text; }
  const zynParameterPtr& token_value() const { return m_token_value; }
  int token_count() const { return m_token_count; }
  // Prepares the lexer to read "text" from its start.
  void set_text(const utString& text);

 private:
  // Turns the current name token into a value: a member name string, a
  // resolved parameter, "this", or an error.
  zynParameterPtr get_named_par(int operand_expected, int tolerant);
  // Returns what the operand "name" stands for: "this", a resolved
  // parameter, or an error ("Invalid name" without an owner).
  zynParameterPtr lookup_name(const utString& name) const;
  // Returns the end of the identifier at "start" when it is a name and not
  // an operator word; "start" otherwise.
  size_t plain_name_end(size_t start) const;

  // Lexer steps (zynEvaluatorLexer.cpp).
  void lex_number(size_t start);
  void lex_identifier(size_t start, size_t first_length, int operand_expected);
  void lex_string(size_t start);
  void lex_symbol(size_t start, int operand_expected);
  void set_operator(int op, size_t length);
  void lex_error(size_t resume);
  // Returns the length in bytes of the character at "pos" and its class bits.
  unsigned char_class_at(size_t pos, size_t& length) const;

  // Parser steps (zynEvaluatorParser.cpp). The apply_ steps update "lhs" and
  // return false when the expression must return it at once.
  void note_reference(const zynParameterPtr& value, bool chain_goes_on);
  [[nodiscard]] bool apply_binary(int op, zynParameterPtr& lhs, int tolerant);
  [[nodiscard]] bool apply_index(zynParameterPtr& lhs, int tolerant);
  [[nodiscard]] bool apply_call(zynParameterPtr& lhs, int tolerant);
  void note_callee(const zynParameterPtr& callee);
  zynParameterPtr parse_group(int closer, bool always_array, int tolerant);
  zynParameterPtr fail(int subtype);
  zynParameterPtr finish(const zynParameterPtr& result);

  // The text being read, with decimal points and list separators in
  // numbers rewritten in place as they are lexed.
  utString m_text;
  size_t m_pos = 0;
  int m_kind = TK_END;
  int m_op = 0;  // zynExprOp of an operator token
  int m_token_count = 0;
  zynParameterPtr m_token_value;
  utString m_token_text;
  const zynParameter* m_owner;
  // List items pushed by "," until a call, tuple or array literal takes them.
  std::vector<zynParameterPtr> m_stack;
  char m_decimal_point = '.';
  char m_alt_decimal = ',';
  int m_paren_depth = 0;
  int m_brace_depth = 0;
  bool m_prev_number = false;
  // Rewriting only (translate): no values are built, nothing is evaluated.
  bool m_rewrite_only = false;
  bool m_lex_failed = false;
  bool m_too_deep = false;
  // Owning, so that a temporary read by the expression outlives the list.
  zynParameterPtrcoDList m_referenced;
  // The members of a long m_referenced, for the test of a repeated reference.
  std::unordered_set<const zynParameter*> m_referenced_index;
  bool m_function_seen = false;
};
