// The compiled form of an expression numeric's text: a small tree of its
// operators with every name bound to the member it resolves to, for the
// texts the evaluator answers from plain numbers alone. Running it repeats
// exactly what the evaluator does with those numbers (the same subtype
// rules, ranges and operations in the same order) without lexing the text,
// resolving names or building a parameter per operand.
//
// It covers number literals, names of numeric members holding literal
// values, "(...)", the arithmetic, comparison and logic operators, and the
// built-ins max, min and sqrt. A text with anything else is not compiled. A
// run that meets an error, or an operand that no longer holds a literal,
// gives up, and the read takes the evaluator, which stays the definition of
// the language and of every error.
//
// A compiled form holds while the structure generation stands (see
// zyn_eval_structure_generation) and the decimal point is the one it was
// compiled under; its owner drops it when its own text changes.
#pragma once

#include <memory>
#include <vector>

#include "zyn/core/zynParameterTypes.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/host/utString.h"

class zynParameterNumeric;

class zynEvalCompiled {
 public:
  zynEvalCompiled();
  ~zynEvalCompiled();
  zynEvalCompiled(const zynEvalCompiled&) = delete;
  zynEvalCompiled& operator=(const zynEvalCompiled&) = delete;

  // Returns the compiled form of "owner"'s "text", or null when the text
  // lies outside what compiles.
  static std::unique_ptr<zynEvalCompiled> compile(const zynParameterNumeric& owner, const utString& text);

  // Returns true with the value of the text as the evaluator's result reads
  // (its own subtype rule applied); false when the evaluator must answer.
  bool run(double& value) const;

  uint64_t structure = 0;
  char point = 0;
  // The heights of the nesting bounds a read of the text needs.
  int height[ZYN_NEST_COUNT] = {};

  struct Node;

 private:
  struct Value;
  bool eval(int node, Value& out) const;
  bool call(const Node& n, Value& out) const;

  std::vector<Node> m_nodes;
  friend class zynEvalCompiler;
};
