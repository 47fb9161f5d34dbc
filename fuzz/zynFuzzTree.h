// The sample tree the fuzz targets work in: a host root that reaches the
// standard library and holds one parameter of each kind an expression can
// meet (numbers with dimensions, strings that interpolate, an enumeration,
// lists, a map, references to members and to each other, a user function),
// plus helpers that turn fuzz bytes into texts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "support/zynTestLibTree.h"
#include "zyn/zyn.h"

// Builds a new sample tree. Each call returns a fresh tree, so one input
// cannot leave state behind for the next.
zynParameterPtr zyn_fuzz_tree();

// Adds the references (to "tool.diameter", through another reference, and a
// cycle of two) and the functions ("twice", and "self" that never ends) that
// every fuzz tree holds; "root" must have "tool.diameter" first.
void zyn_fuzz_add_links(const zynParameterPtr& root);

// Returns the bytes as a text (any byte values, embedded zeros included).
utString zyn_fuzz_text(const uint8_t* data, size_t size);

// Reads every value "p" offers (numbers, text, expression, printed form,
// size, activity and the first elements) so that lazy evaluation runs.
void zyn_fuzz_touch(const zynParameterPtr& p);
