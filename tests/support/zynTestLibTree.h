// A small parameter tree that reaches the standard library as a host's tree
// does: its root answers the names it does not hold from a library object.
// Expressions are evaluated in the root's scope, as member texts are.
#pragma once

#include <initializer_list>

#include "zyn/zyn.h"

class zynTestLibTree {
 public:
  zynTestLibTree();

  // Adds "p" to the root under "name" and returns it.
  zynParameterPtr add(const utString& name, zynParameterPtr p);
  // Returns the value of "text" evaluated in the root's scope.
  zynParameterPtr eval(const utString& text) const;
  // Returns get_double of a REAL member whose text is "text".
  double real(const utString& text);

  zynParameterPtr root;
};

// Returns a new zynParameterLibRoot of type "Host".
zynParameterPtr zyn_test_lib_root();

// Returns the value of "text" evaluated with "owner" as its context.
zynParameterPtr zyn_test_eval(const zynParameterPtr& owner, const utString& text);

// Returns a new dimensionless numeric of "subtype" holding "v".
zynParameterPtr zyn_test_number(double v, zynParameterSubType subtype = PS_REAL);

// Returns a new list of dimensionless reals holding "values".
zynParameterPtr zyn_test_real_list(std::initializer_list<double> values);
