#include "zynparamJson.h"

#include <set>

namespace {

// The word a print of "p" begins with: "REAL" of "(REAL) 4.0", "ROOT" of "(ROOT: Tool)".
std::string type_word(const zynParameterPtr& p) {
  const utString printed = p->print(0);
  if (printed.empty() || printed[0] != '(') return std::string();
  const size_t end = printed.find_first_of("): ", 1);
  return printed.substr(1, end == utString::npos ? utString::npos : end - 1);
}

bool is_container(const zynParameterPtr& p) {
  const zynParameterType t = zynParameter::get_type(*p);
  return (t == PT_MAP || t == PT_ARRAY) && !zynParameterRef::ut_dynamic_cast(p.pointer());
}

zynJson explain_node(const zynParameterPtr& p, std::set<const zynParameter*>& path);

// What "p" reads, each nested as explain_node; a parameter met again on the way is only named.
zynJson explain_reads(const std::vector<zynParameterPtr>& read, std::set<const zynParameter*>& path) {
  zynJson reads = zynJson::array();
  for (const zynParameterPtr& q : read) {
    if (path.size() >= 64 || !path.insert(q.pointer()).second) {
      reads.push_back({{"key", zyn_tool_key(*q)}, {"reads_itself", true}});
      continue;
    }
    reads.push_back(explain_node(q, path));
    path.erase(q.pointer());
  }
  return reads;
}

zynJson explain_node(const zynParameterPtr& p, std::set<const zynParameter*>& path) {
  zynJson node = {{"key", zyn_tool_key(*p)}};
  node.update(zyn_json_leaf(p));
  const utString condition = p->get_active_expr();
  if (!condition.empty()) {
    zynEvaluator evaluator(p.pointer());
    node["active_if"] = {{"text", condition},
                         {"value", zyn_tool_value(evaluator.evaluate(condition))},
                         {"reads", explain_reads(zyn_tool_condition_reads(p), path)}};
  }
  node["reads"] = explain_reads(zyn_tool_reads(p), path);
  return node;
}

zynJson change_side(const zynParameterPtr& p) {
  if (p.is_null()) return nullptr;
  return zyn_json_leaf(p);
}

}  // namespace

zynJson zyn_json_leaf(const zynParameterPtr& p) {
  const utString error = zyn_tool_failure_text(p);
  const bool has_value = error.empty() && !is_container(p);
  zynJson leaf = {{"text", zyn_tool_text(p)},
                  {"value", has_value ? zynJson(zyn_tool_value(p)) : zynJson()},
                  {"error", error.empty() ? zynJson() : zynJson(error)},
                  {"type", type_word(p)}};
  if (!p->get_desc().empty()) leaf["description"] = p->get_desc();
  return leaf;
}

zynJson zyn_json_tree(const zynParameterPtr& p) {
  if (!is_container(p)) return zyn_json_leaf(p);
  const bool map = zynParameter::get_type(*p) == PT_MAP;
  zynJson node = map ? zynJson::object() : zynJson::array();
  zynParameterIter walk(p);
  walk.set_max_depth(1);
  while (++walk) {
    if (map) {
      node[walk.index().str()] = zyn_json_tree(walk());
    } else {
      node.push_back(zyn_json_tree(walk()));
    }
  }
  return node;
}

zynJson zyn_json_problems(const std::vector<zynToolProblem>& problems) {
  zynJson out = zynJson::array();
  for (const zynToolProblem& problem : problems)
    out.push_back({{"key", problem.key.empty() ? zynJson() : zynJson(problem.key)},
                   {"kind", problem.kind},
                   {"message", problem.message},
                   {"chain", problem.chain}});
  return out;
}

zynJson zyn_json_explain(const zynParameterPtr& p) {
  std::set<const zynParameter*> path{p.pointer()};
  zynJson out = explain_node(p, path);
  out["chain"] = zyn_tool_failure(p).is_null() ? zynJson::array() : zynJson(zyn_tool_error_chain(p));
  return out;
}

zynJson zyn_json_diff(const std::vector<zynToolChange>& changes) {
  zynJson out = zynJson::array();
  for (const zynToolChange& change : changes)
    out.push_back({{"key", change.key},
                   {"change", std::string(1, change.mark)},
                   {"before", change_side(change.before)},
                   {"after", change_side(change.after)}});
  return out;
}
