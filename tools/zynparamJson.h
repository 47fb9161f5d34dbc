// The JSON documents the zynparam tool writes with --json, one per command.
#pragma once

#include <nlohmann/json.hpp>

#include "zynparamInspect.h"

// Members keep the order of the tree and of the fields.
using zynJson = nlohmann::ordered_json;

// {"text", "value", "error", "type"} of a parameter; "value" and "error"
// are null when they do not apply, "description" is added where set.
zynJson zyn_json_leaf(const zynParameterPtr& p);

// A container as an object (map) or array of its members, a leaf as zyn_json_leaf.
zynJson zyn_json_tree(const zynParameterPtr& p);

// The problems of "check": [{"key", "kind", "message", "chain"}].
zynJson zyn_json_problems(const std::vector<zynToolProblem>& problems);

// What "explain" shows: the leaf of "p" with its key, what it reads
// ("reads", nested the same way), its activity condition ("active_if":
// text, value and reads) where it has one, and the chain of keys to its failure.
zynJson zyn_json_explain(const zynParameterPtr& p);

// The differences of "diff": [{"key", "change", "before", "after"}].
zynJson zyn_json_diff(const std::vector<zynToolChange>& changes);
