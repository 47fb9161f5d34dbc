#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "zyn/core/zynParameter.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/expr/zynEvaluator.h"

namespace {

// A success holds for any read that fits under every bound with the heights
// its evaluation needed; an error a bound caused holds at least as deep as
// where it arose.
struct MemoEntry {
  zynParameterPtr value;
  int height[ZYN_NEST_COUNT] = {};
  bool has_value = false;
  zynParameterPtr bound_error;
  // Where each bound that refused began; 0 for bounds that did not refuse.
  int bound_start[ZYN_NEST_COUNT] = {};
  bool refused[ZYN_NEST_COUNT] = {};
  bool has_bound_error = false;
};

struct MemoState {
  zynNesting nesting[ZYN_NEST_COUNT];
  std::unordered_map<const zynParameter*, MemoEntry> table;
  std::unordered_map<const zynParameter*, int> active;
  // Chains to warm (see zynEvalMemoScope): each the members under way when a
  // bound refused, outermost first; the last chain is warmed first.
  int warm_scopes = 0;
  std::vector<std::vector<const zynParameter*>> chains;
  std::unordered_set<const zynParameter*> in_chains;
  std::unordered_set<const zynParameter*> warmed;
  bool chain_noted = false;  // in the outermost evaluation under way
  bool warming = false;
  zynEvalMemoFrame* top_frame = nullptr;
  // Counts of the events that make an answer depend on its context (and
  // zynEvalMemoWalk::context_events).
  unsigned long bound_events = 0;
  unsigned long refusals[ZYN_NEST_COUNT] = {};
  const void* running_body = nullptr;
  const zynParameter* innermost = nullptr;
  MemoState() {
    nesting[ZYN_NEST_EVAL].limit = zyn_max_eval_depth;
    nesting[ZYN_NEST_CALL].limit = 200;
    nesting[ZYN_NEST_REF].limit = 100;
    nesting[ZYN_NEST_FORWARD].limit = 100;
  }
};

thread_local MemoState state;

// Keeps "p" alive while the memo holds it; what no owning handle holds
// belongs to its caller.
zynParameterPtr hold(const zynParameterPtr& p) {
  const zynParameter* raw = p.raw();
  if (!raw || raw->reference_count() > 0) return p;
  return zynParameterPtr(coPrfExternal, raw);
}

// Containers may be changed in place by whoever receives them.
bool may_keep(const zynParameterPtr& p) {
  const zynParameterType t = zynParameter::get_type(*p);
  return t != PT_MAP && t != PT_ARRAY;
}

// Empties the memo. The values it held are released only after it is empty:
// a released value that dies leaves the memo itself.
// Each container is swapped out rather than cleared: clearing writes its
// whole bucket array, and a tree being destroyed drops the memo per member.
void drop_all() {
  if (state.table.empty() && state.active.empty()) return;
  std::unordered_map<const zynParameter*, MemoEntry> held;
  held.swap(state.table);
  std::unordered_map<const zynParameter*, int>().swap(state.active);
  std::vector<std::vector<const zynParameter*>>().swap(state.chains);
  std::unordered_set<const zynParameter*>().swap(state.in_chains);
  std::unordered_set<const zynParameter*>().swap(state.warmed);
  zyn_eval_memo_walk.kept = false;
}

}  // namespace

zynNesting& zyn_nesting(zynNestingKind kind) { return state.nesting[kind]; }

bool zyn_nesting_enter(zynNestingKind kind, int weight) {
  zynNesting& n = state.nesting[kind];
  if (n.level + weight > n.limit) {
    ++state.bound_events;
    ++state.refusals[kind];
    zynEvalMemoFrame::note_chain();
    return false;
  }
  n.level += weight;
  n.peak = std::max(n.peak, n.level);
  return true;
}

void zyn_nesting_leave(zynNestingKind kind, int weight) { state.nesting[kind].level -= weight; }

void zyn_eval_memo_context_dependent() { ++zyn_eval_memo_walk.context_events; }

std::atomic<uint64_t> zyn_eval_generation_counter{1};

namespace {
// ZYN_EVAL_REFERENCE=1 turns kept values and compiled texts off at load.
bool reference_from_environment() {
  const char* v = std::getenv("ZYN_EVAL_REFERENCE");
  return v && std::strcmp(v, "1") == 0;
}
}  // namespace

bool zyn_eval_reference_mode = reference_from_environment();
bool zyn_eval_read_callbacks = false;

std::atomic<uint64_t> zyn_eval_structure_counter{1};

void zyn_eval_note_value_change() { zyn_eval_generation_counter.fetch_add(1, std::memory_order_acq_rel); }
void zyn_eval_note_change() {
  zyn_eval_structure_counter.fetch_add(1, std::memory_order_acq_rel);
  zyn_eval_note_value_change();
}
uint64_t zyn_eval_generation() { return zyn_eval_current_generation(); }
// Kept values stay stamped while the reference reads: it neither uses nor changes them.
void zyn_eval_set_reference(bool on) { zyn_eval_reference_mode = on; }
bool zyn_eval_reference() { return zyn_eval_reference_mode; }

void zyn_eval_memo_changed() {
  zyn_eval_structure_counter.fetch_add(1, std::memory_order_acq_rel);
  zyn_eval_memo_values_changed();
}

void zyn_eval_memo_values_changed() {
  zyn_eval_note_value_change();
  zynEvalMemoWalk& w = zyn_eval_memo_walk;  // every write comes here
  ++w.context_events;
  ++w.changes;
  if (!w.kept) return;
  const MemoState& s = state;
  // Most changes come with little or nothing kept: emptying costs nothing then.
  if (!s.table.empty() || !s.active.empty() || !s.chains.empty() || !s.in_chains.empty() || !s.warmed.empty())
    drop_all();
}

void zyn_eval_memo_forget(const zynParameter* p) {
  if (p == zyn_eval_memo_walk.known) ++zyn_eval_memo_walk.changes;
  // Children that outlive "p" may have kept its activity as their own.
  if (state.active.count(p)) std::unordered_map<const zynParameter*, int>().swap(state.active);
  if (state.in_chains.erase(p)) {
    for (auto& chain : state.chains) std::replace(chain.begin(), chain.end(), p, static_cast<const zynParameter*>(nullptr));
  }
  state.warmed.erase(p);
  if (state.table.empty()) return;
  auto found = state.table.find(p);
  if (found == state.table.end()) return;
  MemoEntry released = std::move(found->second);
  state.table.erase(found);
}

thread_local zynEvalMemoWalk zyn_eval_memo_walk;

int zyn_eval_memo_kept_active(const zynParameter* p) {
  auto found = state.active.find(p);
  return found != state.active.end() ? found->second : -1;
}

void zyn_eval_memo_keep_active(const zynParameter* p, int active) {
  if (zyn_eval_memo_walk.scopes == 0) return;
  zyn_eval_memo_walk.kept = true;
  state.active[p] = active;
}

zynKnownActive::zynKnownActive(const zynParameter* container)
    : m_saved(zyn_eval_memo_walk.known), m_saved_epoch(zyn_eval_memo_walk.known_epoch) {
  zyn_eval_memo_walk.known = container;
  zyn_eval_memo_walk.known_epoch = zyn_eval_memo_walk.changes;
}

// The outer declaration comes back as it was: voided if anything changed meanwhile.
zynKnownActive::~zynKnownActive() {
  zyn_eval_memo_walk.known = m_saved;
  zyn_eval_memo_walk.known_epoch = m_saved_epoch;
}

const zynParameter* zyn_eval_memo_innermost() { return state.innermost; }

const void* zyn_eval_running_body() { return state.running_body; }
void zyn_eval_set_running_body(const void* function) { state.running_body = function; }

zynEvalMemoScope::zynEvalMemoScope(bool warm_chains) : m_warm_chains(warm_chains) {
  ++zyn_eval_memo_walk.scopes;
  state.warm_scopes += warm_chains;
}

zynEvalMemoScope::~zynEvalMemoScope() {
  state.warm_scopes -= m_warm_chains;
  if (--zyn_eval_memo_walk.scopes == 0) drop_all();
}

zynEvalMemoFrame::zynEvalMemoFrame(const zynParameter& p)
    : m_p(p),
      m_outer(state.top_frame),
      m_owns_scope(zyn_eval_memo_walk.scopes == 0),
      m_context_mark(zyn_eval_memo_walk.context_events),
      m_bound_mark(state.bound_events),
      m_saved_body(state.running_body),
      m_saved_innermost(state.innermost) {
  state.innermost = &p;
  state.top_frame = this;
  if (!m_outer) state.chain_noted = false;
  if (m_owns_scope) ++zyn_eval_memo_walk.scopes;
  for (int k = 0; k < ZYN_NEST_COUNT; ++k) {
    zynNesting& n = state.nesting[k];
    m_start[k] = n.level;
    m_saved_peak[k] = n.peak;
    n.peak = n.level;
    m_refusal_mark[k] = state.refusals[k];
  }
  // A parameter's value never depends on the argv of a call in progress.
  state.running_body = nullptr;
}

zynEvalMemoFrame::~zynEvalMemoFrame() {
  for (int k = 0; k < ZYN_NEST_COUNT; ++k) {
    zynNesting& n = state.nesting[k];
    n.peak = std::max(n.peak, m_saved_peak[k]);
  }
  state.running_body = m_saved_body;
  state.innermost = m_saved_innermost;
  state.top_frame = m_outer;
  if (m_owns_scope && --zyn_eval_memo_walk.scopes == 0) drop_all();
  if (!m_outer && !state.warming && !state.chains.empty()) warm_chains();
}

void zynEvalMemoFrame::note_chain() {
  if (state.warm_scopes == 0 || state.chain_noted) return;
  state.chain_noted = true;
  std::vector<const zynParameter*> chain;
  for (const zynEvalMemoFrame* f = state.top_frame; f; f = f->m_outer) {
    // Only members of a tree: the holder reads those anyway.
    if (f->m_p.parent() && !state.warmed.count(&f->m_p)) chain.push_back(&f->m_p);
  }
  std::reverse(chain.begin(), chain.end());
  zyn_eval_memo_walk.kept = true;
  state.in_chains.insert(chain.begin(), chain.end());
  state.chains.push_back(std::move(chain));
}

// Evaluates the noted chains deepest first, each member once. A member that
// a bound refuses again notes the chain below it, which goes first. Any
// change of a value stops the warming (the memo is dropped with the chains).
void zynEvalMemoFrame::warm_chains() {
  state.warming = true;
  while (!state.chains.empty()) {
    std::vector<const zynParameter*>& chain = state.chains.back();
    if (chain.empty()) {
      state.chains.pop_back();
      continue;
    }
    const zynParameter* p = chain.back();
    chain.pop_back();
    zyn_eval_memo_walk.kept = true;
    if (p && state.warmed.insert(p).second) zynParameter::evaluate(*p);
  }
  state.warming = false;
}

bool zynEvalMemoFrame::recall(zynParameterPtr& out) {
  auto found = state.table.find(&m_p);
  if (found == state.table.end()) return false;
  const MemoEntry& entry = found->second;
  bool fits = entry.has_value, deep_enough = entry.has_bound_error;
  for (int k = 0; k < ZYN_NEST_COUNT; ++k) {
    const zynNesting& n = state.nesting[k];
    fits = fits && m_start[k] + entry.height[k] <= n.limit;
    deep_enough = deep_enough && m_start[k] >= entry.bound_start[k];
  }
  if (fits) {
    for (int k = 0; k < ZYN_NEST_COUNT; ++k) {
      zynNesting& n = state.nesting[k];
      n.peak = std::max(n.peak, m_start[k] + entry.height[k]);
    }
    out = entry.value;
    return true;
  }
  if (!deep_enough) return false;
  ++state.bound_events;  // the answer is the bound's, as if met again
  for (int k = 0; k < ZYN_NEST_COUNT; ++k) state.refusals[k] += entry.refused[k];
  out = entry.bound_error;
  return true;
}

void zynEvalMemoFrame::keep(const zynParameterPtr& result, bool containers) {
  // The outermost evaluation of an implicit scope would drop it at once.
  if (m_owns_scope && zyn_eval_memo_walk.scopes == 1) return;
  if (zyn_eval_memo_walk.context_events != m_context_mark || result.is_null() || !(containers || may_keep(result))) return;
  if (state.bound_events == m_bound_mark) {
    zyn_eval_memo_walk.kept = true;
    MemoEntry& entry = state.table[&m_p];
    entry.value = hold(result);
    entry.has_value = true;
    for (int k = 0; k < ZYN_NEST_COUNT; ++k) entry.height[k] = state.nesting[k].peak - m_start[k];
    return;
  }
  // A bound decided this answer. Deeper down the same bounds refuse no
  // later, so the same error arises; the bounds that never refused were
  // entered every time they were asked and would be again from higher up.
  if (zynParameter::get_type(*result) != PT_ERROR || result->is_ref()) return;
  int start[ZYN_NEST_COUNT];
  bool refused[ZYN_NEST_COUNT];
  for (int k = 0; k < ZYN_NEST_COUNT; ++k) {
    refused[k] = state.refusals[k] != m_refusal_mark[k];
    start[k] = refused[k] ? m_start[k] : 0;
  }
  zyn_eval_memo_walk.kept = true;
  MemoEntry& entry = state.table[&m_p];
  bool shallower = true;
  for (int k = 0; k < ZYN_NEST_COUNT && entry.has_bound_error; ++k) shallower = shallower && start[k] <= entry.bound_start[k];
  if (!shallower) return;
  entry.bound_error = hold(result);
  entry.has_bound_error = true;
  std::copy(start, start + ZYN_NEST_COUNT, entry.bound_start);
  std::copy(refused, refused + ZYN_NEST_COUNT, entry.refused);
}

zynEvalWatch::zynEvalWatch()
    : m_generation(zyn_eval_current_generation()),
      m_context_mark(zyn_eval_memo_walk.context_events),
      m_bound_mark(state.bound_events) {
  for (int k = 0; k < ZYN_NEST_COUNT; ++k) {
    zynNesting& n = state.nesting[k];
    m_start[k] = n.level;
    m_saved_peak[k] = n.peak;
    n.peak = n.level;
  }
}

zynEvalWatch::~zynEvalWatch() {
  for (int k = 0; k < ZYN_NEST_COUNT; ++k) {
    zynNesting& n = state.nesting[k];
    n.peak = std::max(n.peak, m_saved_peak[k]);
  }
}

bool zynEvalWatch::settled(uint64_t& generation, int (&height)[ZYN_NEST_COUNT]) const {
  generation = m_generation;
  if (zyn_eval_current_generation() != m_generation || zyn_eval_memo_walk.context_events != m_context_mark ||
      state.bound_events != m_bound_mark)
    return false;
  for (int k = 0; k < ZYN_NEST_COUNT; ++k) height[k] = state.nesting[k].peak - m_start[k];
  return true;
}

bool zynEvalWatch::fits(const int (&height)[ZYN_NEST_COUNT]) {
  for (int k = 0; k < ZYN_NEST_COUNT; ++k) {
    const zynNesting& n = state.nesting[k];
    if (n.level + height[k] > n.limit) return false;
  }
  for (int k = 0; k < ZYN_NEST_COUNT; ++k) {
    zynNesting& n = state.nesting[k];
    n.peak = std::max(n.peak, n.level + height[k]);
  }
  return true;
}
