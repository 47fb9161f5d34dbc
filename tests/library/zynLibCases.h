// Table checks for the built-in tests: each row is an expression and the
// value it must evaluate to.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <initializer_list>

#include "support/zynTestHelpers.h"
#include "support/zynTestLibTree.h"

// Returns "p" as a comparable text: a number printed with ten significant
// digits, the text of any other scalar, and the elements of an array joined by
// ",".
inline utString zyn_lib_text(const zynParameterPtr& p) {
  if (zynParameter::get_type(*p) == PT_ARRAY) {
    utString out;
    for (int i = 0; i < p->size(); ++i) out += (i ? "," : "") + zyn_lib_text(p[zynParameterKey(i, utString())]);
    return out;
  }
  if (zynParameter::get_type(*p) != PT_NUMERIC) return p->get_string();
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.10g", p->get_double());
  return buffer;
}

// An expression, the subtype of its value (an error code when it fails) and,
// unless null, the value as zyn_lib_text prints it.
struct zynLibCase {
  const char* text;
  zynParameterSubType subtype;
  const char* value;
};

// Evaluates a text in some scope.
using zynLibEval = std::function<zynParameterPtr(const char*)>;

// Checks each row of "cases" against "eval", or against the root of "tree".
inline void zyn_check_lib_cases(const zynLibEval& eval, std::initializer_list<zynLibCase> cases) {
  for (const zynLibCase& c : cases) {
    SCOPED_TRACE(c.text);
    const zynParameterPtr r = eval(c.text);
    EXPECT_EQ(subtype_of(r), c.subtype);
    if (c.value && !r->is_error()) {
      EXPECT_EQ(zyn_lib_text(r), c.value);
    }
  }
}

// Checks that each of "texts" evaluates to the error "code" in either scope.
inline void zyn_check_lib_errors(const zynLibEval& eval, zynParameterSubType code,
                                 std::initializer_list<const char*> texts) {
  for (const char* text : texts) EXPECT_EQ(subtype_of(eval(text)), code) << text;
}

inline void zyn_check_lib_cases(const zynTestLibTree& tree, std::initializer_list<zynLibCase> cases) {
  zyn_check_lib_cases([&tree](const char* text) { return tree.eval(text); }, cases);
}

inline void zyn_check_lib_errors(const zynTestLibTree& tree, zynParameterSubType code,
                                 std::initializer_list<const char*> t) {
  zyn_check_lib_errors([&tree](const char* text) { return tree.eval(text); }, code, t);
}
