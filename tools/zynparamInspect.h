// What the zynparam tool tells about a loaded tree: the text and value of a
// parameter, what its expression reads, the problems of a tree, where a
// failing value comes from, the dependency graph and the differences between
// two trees. All of it reads the tree through the public interface only.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "zyn/zyn.h"

// The key of "p" below "root" ("Tool.Diameter", "Levels[1]").
utString zyn_tool_key(const zynParameter& p);

// The stored text: a scalar's literal or expression, "&path" for a
// reference, "" for a container.
utString zyn_tool_text(const zynParameterPtr& p);

// The evaluated value as the user reads it; an error gives its message.
utString zyn_tool_value(const zynParameterPtr& p);

// The message of an error value without its "#ERROR: " mark.
utString zyn_tool_message(const zynParameterPtr& error);

// What makes "text", evaluated in the scope of "scope", fail with "error":
// the innermost failing piece with its column, an unknown name, else the
// message of "error".
utString zyn_tool_cause(const zynParameterPtr& scope, const utString& text, const zynParameterPtr& error);

// Returns the error that reading "p" gives, or null when it reads fine.
zynParameterPtr zyn_tool_failure(const zynParameterPtr& p);

// The message of the failure of "p" with its cause (see zyn_tool_cause);
// "" when "p" reads fine.
utString zyn_tool_failure_text(const zynParameterPtr& p);

// The parameters the value of "p" reads, each once, in the order met.
std::vector<zynParameterPtr> zyn_tool_reads(const zynParameterPtr& p);
// The parameters the activity condition of "p" reads.
std::vector<zynParameterPtr> zyn_tool_condition_reads(const zynParameterPtr& p);

// The keys from "p" down to the parameter where its failure arises, "p" first.
std::vector<utString> zyn_tool_error_chain(const zynParameterPtr& p);

// Writes "key: text = value" of "p", then what it reads as an indented tree.
void zyn_tool_explain(const zynParameterPtr& p, std::ostream& out);

// A problem "check" reports: the key it concerns, its kind ("expression",
// "reference", "range", ...), the message and the keys from "key" down to
// where the problem arises.
struct zynToolProblem {
  utString key;
  utString kind;
  utString message;
  std::vector<utString> chain;
};

// Every problem of the tree below "start"; "failed" are the keys a load could not apply.
std::vector<zynToolProblem> zyn_tool_problems(const zynParameterPtr& start, const utStringcoSList& failed);

// Writes one line per problem of the tree below "start" and returns their
// number. "failed" are the keys a load could not apply.
int zyn_tool_check(const zynParameterPtr& start, const utStringcoSList& failed, std::ostream& out);

// Writes the dependency graph of the tree below "start" (or of "start" and
// what it reads, when "only_reads") in the DOT language.
void zyn_tool_graph(const zynParameterPtr& start, bool only_reads, std::ostream& out);

// A key whose text or value differs between two trees: '-' only in the
// first ("after" null), '+' only in the second ("before" null), '~' in both.
struct zynToolChange {
  char mark;
  utString key;
  zynParameterPtr before;
  zynParameterPtr after;
};
std::vector<zynToolChange> zyn_tool_changes(const zynParameterPtr& a, const zynParameterPtr& b);

// Writes the differences between two trees, key by key; returns their number.
int zyn_tool_diff(const zynParameterPtr& a, const zynParameterPtr& b, std::ostream& out);

// Every key of the tree below "root", containers included, in walking order.
std::vector<utString> zyn_tool_keys(const zynParameterPtr& root);
