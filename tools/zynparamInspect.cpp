#include "zynparamInspect.h"

#include <set>
#include <sstream>
#include <unordered_map>

namespace {

// While an inspection runs the tree stands still, so what each member reads
// and why it fails are worked out once, however many failures trace
// through it.
struct InspectionCache {
  std::unordered_map<const zynParameter*, std::vector<zynParameterPtr>> reads;
  std::unordered_map<const zynParameter*, utString> failure_texts;
};
InspectionCache* g_cache = nullptr;

// zyn_tool_failure_text and zyn_tool_reads without the cache.
utString failure_text(const zynParameterPtr& p);
std::vector<zynParameterPtr> reads(const zynParameterPtr& p);

class Inspection {
 public:
  Inspection() : m_saved(g_cache) { g_cache = &m_cache; }
  ~Inspection() { g_cache = m_saved; }
  Inspection(const Inspection&) = delete;
  Inspection& operator=(const Inspection&) = delete;

 private:
  zynEvalMemoScope m_memo;  // each value is evaluated once too
  InspectionCache m_cache;
  InspectionCache* m_saved;
};

bool is_scalar(const zynParameter& p) {
  const zynParameterType t = zynParameter::get_type(p);
  return t == PT_STRING || t == PT_NUMERIC || t == PT_ENUM;
}

const zynParameterRef* as_ref(const zynParameterPtr& p) { return zynParameterRef::ut_dynamic_cast(p.pointer()); }

// Members of the tree only: built-ins and temporary values have no parent.
std::vector<zynParameterPtr> tree_members(const zynParameterPtrcoDList& read) {
  std::vector<zynParameterPtr> out;
  std::set<const zynParameter*> seen;
  for (const zynParameterPtr& p : read) {
    const zynParameter* member = p.pointer();
    if (!member || !member->parent() || zynParameter::get_type(*member) == PT_FUNCTION) continue;
    if (seen.insert(member).second) out.emplace_back(coPrfExternal, member);
  }
  return out;
}

std::vector<zynParameterPtr> reads_of_text(const zynParameterPtr& p, const utString& text, bool interpolate) {
  if (text.empty()) return {};
  zynEvaluator evaluator(p.pointer());
  if (interpolate) {
    evaluator.interpolate_string(text);
  } else {
    evaluator.evaluate(text);
  }
  zynParameterPtrcoDList read;
  evaluator.get_paramset(read);
  return tree_members(read);
}

utString number_text(double v) {
  std::ostringstream out;
  out << v;
  return out.str();
}

void explain_line(const zynParameterPtr& p, int depth, std::ostream& out) {
  const utString text = zyn_tool_text(p);
  const utString value = zyn_tool_value(p);
  out << utString(static_cast<size_t>(depth) * 2, ' ') << zyn_tool_key(*p) << ":";
  if (!text.empty()) out << " " << text;
  if (value != text) out << " = " << value;
  out << "\n";
}

void explain_reads(const zynParameterPtr& p, int depth, std::vector<const zynParameter*>& path, std::ostream& out) {
  const utString indent(static_cast<size_t>(depth) * 2, ' ');
  if (!p->get_active_expr().empty()) {
    zynEvaluator evaluator(p.pointer());
    out << indent << "active if " << p->get_active_expr() << " = "
        << zyn_tool_value(evaluator.evaluate(p->get_active_expr())) << "\n";
    for (const zynParameterPtr& q : zyn_tool_condition_reads(p)) {
      explain_line(q, depth + 1, out);
      if (path.size() < 64 && std::find(path.begin(), path.end(), q.pointer()) == path.end()) {
        path.push_back(q.pointer());
        explain_reads(q, depth + 2, path, out);
        path.pop_back();
      }
    }
  }
  for (const zynParameterPtr& q : zyn_tool_reads(p)) {
    explain_line(q, depth, out);
    if (std::find(path.begin(), path.end(), q.pointer()) != path.end()) {
      out << indent << "  (reads itself)\n";
    } else if (path.size() < 64) {
      path.push_back(q.pointer());
      explain_reads(q, depth + 1, path, out);
      path.pop_back();
    }
  }
}

// The longest chain of keys a failure is traced through; a longer one ends
// with "...", so that tracing every member of a long chain stays linear.
constexpr size_t max_error_path = 8;

utString chain_text(const std::vector<utString>& chain) {
  utString out;
  for (size_t i = 0; i < chain.size() && i < max_error_path; ++i) out += (out.empty() ? "" : " -> ") + chain[i];
  return chain.size() > max_error_path ? out + " -> ..." : out;
}

// The parameters from "p" down to the one where its failure arises: each
// next one is the first failing parameter the last one reads.
std::vector<zynParameterPtr> error_path(const zynParameterPtr& p) {
  std::vector<zynParameterPtr> path{p};
  std::set<const zynParameter*> seen{p.pointer()};
  for (bool deeper = true; deeper && path.size() <= max_error_path;) {
    deeper = false;
    for (const zynParameterPtr& q : zyn_tool_reads(path.back())) {
      if (seen.count(q.pointer()) || zyn_tool_failure(q).is_null()) continue;
      seen.insert(q.pointer());
      path.push_back(q);
      deeper = true;
      break;
    }
  }
  return path;
}

std::vector<utString> keys_of(const std::vector<zynParameterPtr>& path) {
  std::vector<utString> keys;
  for (const zynParameterPtr& q : path) keys.push_back(zyn_tool_key(*q));
  return keys;
}

// "a -> b: message" of the failure at the end of "path" (from error_path).
utString chain_with_origin(const std::vector<zynParameterPtr>& path) {
  return chain_text(keys_of(path)) + ": " + zyn_tool_failure_text(path.back());
}

// " (a -> b: message)" when the failure at the start of "path" arises elsewhere.
utString origin_note(const std::vector<zynParameterPtr>& path) {
  return path.size() > 1 ? " (" + chain_with_origin(path) + ")" : utString();
}

void check_one(const zynParameterPtr& p, std::vector<zynToolProblem>& problems) {
  const utString key = zyn_tool_key(*p);
  const zynParameterPtr failure = zyn_tool_failure(p);
  auto add = [&](const char* kind, const utString& message) { problems.push_back({key, kind, message, {key}}); };
  if (const zynParameterRef* ref = as_ref(p)) {
    if (!failure.is_null()) add("reference", "reference &" + ref->get_ref_string() + " does not resolve: " +
                                                 zyn_tool_message(failure));
  } else if (p->is_error()) {
    add("error", "error value: " + p->get_string());
  } else if (!failure.is_null()) {
    const std::vector<zynParameterPtr> path = error_path(p);
    problems.push_back(
        {key, "expression", "expression fails: " + zyn_tool_failure_text(p) + origin_note(path), keys_of(path)});
  } else if (!p->is_valid() && is_scalar(*p)) {
    add("invalid", "invalid value: " + zyn_tool_text(p));
  } else if (!p->check_range()) {
    const zynRange& range = zynParameterNumeric::ut_dynamic_cast(p.pointer())->get_range();
    add("range", "value " + zyn_tool_value(p) + " out of range [" + number_text(range.get_min()) + ", " +
                     number_text(range.get_max()) + "]");
  }
  if (!p->get_active_expr().empty()) {
    zynEvaluator evaluator(p.pointer());
    const zynParameterPtr active = evaluator.evaluate(p->get_active_expr());
    if (active->is_error())
      add("condition", "activity condition " + p->get_active_expr() + " fails: " +
                           zyn_tool_cause(p, p->get_active_expr(), active));
  }
}

utString dot_quote(const utString& text) {
  utString out = "\"";
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

utString dot_label(const zynParameterPtr& p) {
  const utString text = zyn_tool_text(p);
  const utString value = zyn_tool_value(p);
  utString label = zyn_tool_key(*p);
  if (!text.empty()) label += "\n" + text;
  if (value != text) label += "\n= " + value;
  return label;
}

// The parameters the graph shows: every scalar and reference below "start",
// or "start" and all it reads, directly or not.
std::vector<zynParameterPtr> graph_nodes(const zynParameterPtr& start, bool only_reads) {
  std::vector<zynParameterPtr> nodes;
  std::set<const zynParameter*> seen;
  if (!only_reads) {
    zynParameterIter walk(start);
    walk.set_leaf_only(1);
    while (++walk)
      if (seen.insert(walk().pointer()).second) nodes.push_back(walk());
    return nodes;
  }
  nodes.push_back(start);
  seen.insert(start.pointer());
  for (size_t i = 0; i < nodes.size(); ++i) {
    std::vector<zynParameterPtr> next = zyn_tool_reads(nodes[i]);
    for (const zynParameterPtr& q : zyn_tool_condition_reads(nodes[i])) next.push_back(q);
    for (const zynParameterPtr& q : next)
      if (seen.insert(q.pointer()).second) nodes.push_back(q);
  }
  return nodes;
}

}  // namespace

utString zyn_tool_key(const zynParameter& p) { return zynParameter::get_name(p, 1); }

utString zyn_tool_message(const zynParameterPtr& error) {
  const utString text = error->get_string();
  const utString mark = "#ERROR: ";
  return text.compare(0, mark.size(), mark) == 0 ? text.substr(mark.size()) : text;
}

utString zyn_tool_text(const zynParameterPtr& p) {
  if (const zynParameterRef* ref = as_ref(p)) return "&" + ref->get_ref_string();
  if (zynParameter::get_type(*p) == PT_ERROR) return p->get_string();
  if (const zynParameterScalar* s = zynParameterScalar::ut_dynamic_cast(p.pointer())) return s->get_value();
  return utString();
}

utString zyn_tool_value(const zynParameterPtr& p) {
  const zynParameterPtr failure = zyn_tool_failure(p);
  if (!failure.is_null()) return failure->get_string();
  if (as_ref(p)) {
    const zynParameter* target = p->get_ref();
    if (target && is_scalar(*target)) return target->get_string();
    return zyn_tool_text(p);  // a reference to a container reads as itself
  }
  if (zynParameter::get_type(*p) == PT_ERROR || is_scalar(*p)) return p->get_string();
  return utString();
}

zynParameterPtr zyn_tool_failure(const zynParameterPtr& p) {
  if (as_ref(p)) {
    const zynParameter* target = p->get_ref();
    if (!target) return zynParameterError::create(PS_ERR_REFERENCE);
    if (target->is_error()) return zynParameterError::create(zynParameter::get_subtype(*target));
    return zynParameterPtr();
  }
  if (p->is_error()) return zynParameterError::create(zynParameter::get_subtype(*p));
  if (zynParameter::get_type(*p) == PT_NUMERIC && p->is_expr()) {
    const zynParameterPtr value = zynParameter::evaluate(*p);
    if (value->is_error()) return value;
  }
  return zynParameterPtr();
}

utString zyn_tool_failure_text(const zynParameterPtr& p) {
  if (!g_cache) return failure_text(p);
  auto found = g_cache->failure_texts.find(p.pointer());
  if (found == g_cache->failure_texts.end())
    found = g_cache->failure_texts.emplace(p.pointer(), failure_text(p)).first;
  return found->second;
}

namespace {
utString failure_text(const zynParameterPtr& p) {
  const zynParameterPtr failure = zyn_tool_failure(p);
  if (failure.is_null()) return utString();
  if (as_ref(p) || zynParameter::get_type(*p) != PT_NUMERIC || !p->is_expr()) return zyn_tool_message(failure);
  return zyn_tool_cause(p, zyn_tool_text(p), failure);
}
}  // namespace

std::vector<zynParameterPtr> zyn_tool_reads(const zynParameterPtr& p) {
  if (!g_cache) return reads(p);
  auto found = g_cache->reads.find(p.pointer());
  if (found == g_cache->reads.end()) found = g_cache->reads.emplace(p.pointer(), reads(p)).first;
  return found->second;
}

namespace {
std::vector<zynParameterPtr> reads(const zynParameterPtr& p) {
  if (const zynParameterRef* ref = as_ref(p)) return reads_of_text(p, ref->get_ref_string(), false);
  const zynParameterScalar* s = zynParameterScalar::ut_dynamic_cast(p.pointer());
  if (!s || !s->is_expr()) return {};
  return reads_of_text(p, s->get_value(), zynParameter::get_type(*p) == PT_STRING);
}
}  // namespace

std::vector<zynParameterPtr> zyn_tool_condition_reads(const zynParameterPtr& p) {
  return reads_of_text(p, p->get_active_expr(), false);
}

std::vector<utString> zyn_tool_error_chain(const zynParameterPtr& p) { return keys_of(error_path(p)); }

void zyn_tool_explain(const zynParameterPtr& p, std::ostream& out) {
  Inspection inspection;
  explain_line(p, 0, out);
  std::vector<const zynParameter*> path{p.pointer()};
  explain_reads(p, 1, path, out);
  const zynParameterPtr failure = zyn_tool_failure(p);
  if (!failure.is_null()) out << "error: " << chain_with_origin(error_path(p)) << "\n";
}

std::vector<zynToolProblem> zyn_tool_problems(const zynParameterPtr& start, const utStringcoSList& failed) {
  Inspection inspection;
  std::vector<zynToolProblem> problems;
  for (const utString& key : failed) problems.push_back({key, "load", "value could not be loaded", {key}});
  zynParameterIter walk(start);
  while (++walk) check_one(walk(), problems);
  return problems;
}

int zyn_tool_check(const zynParameterPtr& start, const utStringcoSList& failed, std::ostream& out) {
  const std::vector<zynToolProblem> problems = zyn_tool_problems(start, failed);
  for (const zynToolProblem& problem : problems) out << problem.key << ": " << problem.message << "\n";
  return static_cast<int>(problems.size());
}

void zyn_tool_graph(const zynParameterPtr& start, bool only_reads, std::ostream& out) {
  Inspection inspection;
  const std::vector<zynParameterPtr> nodes = graph_nodes(start, only_reads);
  out << "digraph zynparam {\n  rankdir=LR;\n  node [shape=box, fontname=\"Helvetica\", fontsize=10];\n";
  for (const zynParameterPtr& p : nodes) {
    out << "  " << dot_quote(zyn_tool_key(*p)) << " [label=" << dot_quote(dot_label(p));
    if (!zyn_tool_failure(p).is_null() || !p->is_valid() || !p->check_range())
      out << ", color=red, style=filled, fillcolor=\"#ffd0d0\"";
    out << "];\n";
  }
  for (const zynParameterPtr& p : nodes) {
    const utString from = dot_quote(zyn_tool_key(*p));
    for (const zynParameterPtr& q : zyn_tool_reads(p)) out << "  " << from << " -> " << dot_quote(zyn_tool_key(*q)) << ";\n";
    for (const zynParameterPtr& q : zyn_tool_condition_reads(p))
      out << "  " << from << " -> " << dot_quote(zyn_tool_key(*q)) << " [style=dashed, label=\"active\"];\n";
  }
  out << "}\n";
}

std::vector<utString> zyn_tool_keys(const zynParameterPtr& root) {
  std::vector<utString> keys;
  zynParameterIter walk(root);
  while (++walk) keys.push_back(walk.index().str());
  return keys;
}

std::vector<zynToolChange> zyn_tool_changes(const zynParameterPtr& a, const zynParameterPtr& b) {
  std::vector<utString> keys = zyn_tool_keys(a);
  const std::set<utString> in_a(keys.begin(), keys.end());
  for (const utString& key : zyn_tool_keys(b))
    if (!in_a.count(key)) keys.push_back(key);
  std::vector<zynToolChange> changes;
  for (const utString& key : keys) {
    zynParameterPtr pa = (*a)[zynParameterKey(key)];
    zynParameterPtr pb = (*b)[zynParameterKey(key)];
    if (pa->is_error() && !pa->parent()) pa = zynParameterPtr();
    if (pb->is_error() && !pb->parent()) pb = zynParameterPtr();
    if (!pa.is_null() && !pb.is_null() && zyn_tool_text(pa) == zyn_tool_text(pb) &&
        zyn_tool_value(pa) == zyn_tool_value(pb))
      continue;
    changes.push_back({pb.is_null() ? '-' : pa.is_null() ? '+' : '~', key, pa, pb});
  }
  return changes;
}

int zyn_tool_diff(const zynParameterPtr& a, const zynParameterPtr& b, std::ostream& out) {
  auto side = [](const zynParameterPtr& p) {
    const utString text = zyn_tool_text(p);
    const utString value = zyn_tool_value(p);
    return value == text ? "\"" + text + "\"" : "\"" + text + "\" = " + value;
  };
  const std::vector<zynToolChange> changes = zyn_tool_changes(a, b);
  for (const zynToolChange& c : changes) {
    out << c.mark << " " << c.key << ": ";
    if (c.mark == '~') out << side(c.before) << " -> " << side(c.after) << "\n";
    else out << side(c.mark == '-' ? c.before : c.after) << "\n";
  }
  return static_cast<int>(changes.size());
}
