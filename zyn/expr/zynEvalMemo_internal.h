// Memoised parameter evaluation. While a scope is open, zynParameter::evaluate
// answers a parameter it has already evaluated from the memo instead of
// evaluating its text again, so a read costs each parameter it depends on
// once, not once per path (a0 = 1; a_i = a_(i-1) + a_(i-1) is linear).
//
// A memoised answer is exactly what evaluating again would give:
// - a result is kept only when nothing during its evaluation depended on the
//   context of the read: no evaluation guard or reference cycle was met, no
//   impure built-in or host function ran, no argv of a call was read from
//   outside the call;
// - a success records how deep each nesting bound went below it and is used
//   again only where it fits under every bound from there;
// - an error caused by a nesting bound is used again only at least as deep
//   as where it arose, where the bound is met no later;
// - any change of a value (a modify notification, a mutating built-in) drops
//   the whole memo, and a destroyed parameter leaves it.
// The referenced-parameter list of an evaluator is unaffected: it records the
// names an expression resolves, not what their evaluation reads.
#pragma once

#include <atomic>
#include <cstdint>

#include "zyn/core/zynParameterPtr.h"
#include "zyn/zynExport.h"

class zynParameter;

// The nesting bounds an evaluation can meet. Each counts its open levels on
// the thread; a level above its limit is refused.
enum zynNestingKind : int {
  ZYN_NEST_EVAL,     // expression levels and parameter evaluations (zynEvalDepth)
  ZYN_NEST_CALL,     // calls of functions (zynLibCallDepth)
  ZYN_NEST_REF,      // references resolving through each other
  ZYN_NEST_FORWARD,  // calls forwarded through references
  ZYN_NEST_COUNT
};

struct zynNesting {
  int level = 0;
  int peak = 0;  // the deepest level reached since the innermost evaluation began
  int limit = 0;
};

// The counter of "kind" on this thread.
zynNesting& zyn_nesting(zynNestingKind kind);

// Enters one level of "kind" (by "weight") unless that lies past its limit;
// returns false, and notes that a bound decided the answer, when it does.
[[nodiscard]] bool zyn_nesting_enter(zynNestingKind kind, int weight = 1);
void zyn_nesting_leave(zynNestingKind kind, int weight = 1);

// The evaluation now depends on where it runs (a cycle met, an impure call).
void zyn_eval_memo_context_dependent();
// Values changed: every memoised answer is void, and so is every answer
// kept past its read (the change generation advances).
void zyn_eval_memo_changed();

// Advances the change generation (declared for hosts in zynEvaluator.h), and
// the structure generation with it.
ZYN_EXPORT void zyn_eval_note_change();
// Advances the change generation alone: a value or text changed, and no name
// resolves differently.
void zyn_eval_note_value_change();
// As zyn_eval_memo_changed, for a change of a value alone.
void zyn_eval_memo_values_changed();
// The structure generation: what names resolve to holds while it stands.
extern std::atomic<uint64_t> zyn_eval_structure_counter;
inline uint64_t zyn_eval_structure_generation() { return zyn_eval_structure_counter.load(std::memory_order_acquire); }
// The change generation of the process (see zynEvaluator.h): answers kept
// past their read hold while it stands.
extern std::atomic<uint64_t> zyn_eval_generation_counter;
inline uint64_t zyn_eval_current_generation() { return zyn_eval_generation_counter.load(std::memory_order_acquire); }
// True when kept answers are off (the reference evaluator).
extern bool zyn_eval_reference_mode;
// Set for good once a read callback is installed: from then on reads must
// reach every callback, so nothing is kept past a read.
extern bool zyn_eval_read_callbacks;
// "p" is destroyed; its address may be reused.
void zyn_eval_memo_forget(const zynParameter* p);
// While a scope is open, whether "p" and all its ancestors are active is kept
// too, so that walks of deep trees do not climb to the root at every step.
// "known" is 1 or 0 when it is kept, else -1; "parent_active" tells that
// "parent" was declared active (zynKnownActive); "keep" that a scope is open.
struct zynActiveRecall {
  int known = -1;
  bool parent_active = false;
  bool keep = false;
};

// What every read of activity asks: plain data, reached inline without the
// constructor check of the rest of the memo's state.
struct zynEvalMemoWalk {
  int scopes = 0;
  // Cleared only when everything kept has been dropped: while it is clear,
  // a change has nothing to drop.
  bool kept = false;
  unsigned long context_events = 0;
  // The container a walk has declared active, valid while "changes" is still "known_epoch".
  const zynParameter* known = nullptr;
  unsigned long known_epoch = 0;
  unsigned long changes = 0;
};
extern thread_local zynEvalMemoWalk zyn_eval_memo_walk;

// The activity kept for "p" in the open scope, or -1.
int zyn_eval_memo_kept_active(const zynParameter* p);

inline zynActiveRecall zyn_eval_memo_recall_active(const zynParameter* p, const zynParameter* parent) {
  const zynEvalMemoWalk& w = zyn_eval_memo_walk;
  zynActiveRecall r;
  r.parent_active = parent && parent == w.known && w.known_epoch == w.changes;
  if (w.scopes == 0) return r;
  r.keep = true;
  r.known = zyn_eval_memo_kept_active(p);
  return r;
}
void zyn_eval_memo_keep_active(const zynParameter* p, int active);

// A walk over the members of a container it has found active (saving, the
// XML export) declares so while it lives: a member then asks only its own
// condition instead of climbing to the root again. Any change of a value,
// condition, name or membership, and the end of the container, void it.
class zynKnownActive {
 public:
  explicit zynKnownActive(const zynParameter* container);
  ~zynKnownActive();
  zynKnownActive(const zynKnownActive&) = delete;
  zynKnownActive& operator=(const zynKnownActive&) = delete;

 private:
  const zynParameter* m_saved;
  unsigned long m_saved_epoch;
};

// One evaluation of a parameter, on the stack of zynParameter::evaluate.
// Opens a memo scope when none is open.
class zynEvalMemoFrame {
 public:
  explicit zynEvalMemoFrame(const zynParameter& p);
  ~zynEvalMemoFrame();
  zynEvalMemoFrame(const zynEvalMemoFrame&) = delete;
  zynEvalMemoFrame& operator=(const zynEvalMemoFrame&) = delete;

  // Returns true and sets "out" when the memo answers for the parameter here.
  bool recall(zynParameterPtr& out);
  // Keeps "result" when it may be used again. A container is kept only when
  // "containers" is set: whoever receives a container may change it.
  void keep(const zynParameterPtr& result, bool containers = false);

  // Notes the members of a tree whose evaluations are under way, for a
  // scope that warms chains (see zynEvalMemoScope).
  static void note_chain();

 private:
  static void warm_chains();

  const zynParameter& m_p;
  zynEvalMemoFrame* m_outer;
  bool m_owns_scope;
  int m_start[ZYN_NEST_COUNT];
  int m_saved_peak[ZYN_NEST_COUNT];
  unsigned long m_refusal_mark[ZYN_NEST_COUNT];
  unsigned long m_context_mark;
  unsigned long m_bound_mark;
  const void* m_saved_body;
  const zynParameter* m_saved_innermost;
};

// Watches one read for whether its answer may be kept past it: nothing was
// written and nothing depended on the context of the read while it ran. It
// records the heights of the nesting bounds the read needed, as a memo frame
// does, so that the answer is used again only where it fits under them.
class zynEvalWatch {
 public:
  zynEvalWatch();
  ~zynEvalWatch();
  zynEvalWatch(const zynEvalWatch&) = delete;
  zynEvalWatch& operator=(const zynEvalWatch&) = delete;

  // Returns true, with the generation the answer holds for and the heights
  // it needed, when the answer may be kept.
  bool settled(uint64_t& generation, int (&height)[ZYN_NEST_COUNT]) const;
  // Returns true when a read needing "height" fits under every bound here.
  static bool fits(const int (&height)[ZYN_NEST_COUNT]);

 private:
  uint64_t m_generation;
  unsigned long m_context_mark;
  unsigned long m_bound_mark;
  int m_start[ZYN_NEST_COUNT];
  int m_saved_peak[ZYN_NEST_COUNT];
};

// The parameter whose evaluation or resolution is the innermost under way.
const zynParameter* zyn_eval_memo_innermost();

// The function whose body is running, if any: its argv is read from inside.
const void* zyn_eval_running_body();
void zyn_eval_set_running_body(const void* function);
